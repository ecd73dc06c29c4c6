#pragma once
// The German message texts of the core, in one catalogue. The core returns or
// reports them; the desktop program and korvane-cli show them; tests compare
// against them. Texts built from a value (file names, numbers) are functions
// next to the code that fills them in.

namespace korvane {

// Picture loading.
inline constexpr const char* kBitmapInvalidText = "Bitmap ist ungültig";
inline constexpr const char* kIconInvalidText = "Ungültiges Symbol";
inline constexpr const char* kPngInvalidText = "PNG-Datei ist ungültig";
inline constexpr const char* kMetafileInvalidText = "Metadatei ist ungültig";

// Saving the working image over an existing file (%s: the path).
inline constexpr const char* kPictureReplaceQuestion =
    "Die Datei %s gibt es schon. Sie wird durch das Bild als Bitmap (32 Bit) ersetzt. "
    "Ersetzen?";

// Contour methods (status line).
inline constexpr const char* kOutlineMarkText = "Umrisse suchen ...";
inline constexpr const char* kOutlineRemoveText = "Objekte entfernen ...";
inline constexpr const char* kOutlineTraceText = "Strecken bilden ... ";
inline constexpr const char* kCentreWidthText = "Linienbreite ...";
inline constexpr const char* kCentreReduceText = "Breite reduzieren ...";
inline constexpr const char* kCentreRemoveText = "Schwarz entfernen ...";
inline constexpr const char* kCentreTraceText = "Strecken bilden ...";
inline constexpr const char* kScanStatusText = "Abtasten ...";

// Post-processing (status line).
inline constexpr const char* kLineFollowStatusText = "Linienverfolgung ...";
inline constexpr const char* kWayOptimizeStatusText = "Wegoptimierung ...";
inline constexpr const char* kNoNewWayText = "Keine neue Wegstrecke gefunden!";

// NC program builder (status line).
inline constexpr const char* kBuildProgressText = "NC-Sätze erstellen ...";
inline constexpr const char* kBuildDoneText = "NC-Programm erstellt!";  // once it is shown
// After the build: the move list read for the graphic view, the program put
// into the editor.
inline constexpr const char* kMovesReadText = "NC-Grafik vorbereiten ...";
inline constexpr const char* kEditorLoadText = "NC-Programm in den Editor laden ...";

// Running out of memory: the step is dropped, the job stays as before it.
inline constexpr const char* kConvertOutOfMemoryText = "Nicht genügend Speicher für die Umwandlung";
inline constexpr const char* kBuildOutOfMemoryText = "Nicht genügend Speicher für das NC-Programm";
inline constexpr const char* kLineFollowOutOfMemoryText =
    "Nicht genügend Speicher für die Linienverfolgung";
inline constexpr const char* kWayOptimizeOutOfMemoryText =
    "Nicht genügend Speicher für die Wegoptimierung";
inline constexpr const char* kCommandOutOfMemoryText = "Nicht genügend Speicher für diesen Befehl";

// Convert command and picture lock.
inline constexpr const char* kAskBlackWhiteText =
    "Bild wurde noch nicht in [Schwarz/Weiss] konvertiert! Jetzt ausführen?";
inline constexpr const char* kAskAcceptText = "Gefundene Kontur übernehmen?";
inline constexpr const char* kAskCancelText = "Vorgang abbrechen?";
inline constexpr const char* kCancelledText = "Vorgang abgebrochen!";
inline constexpr const char* kRefusedText = "Kontur nicht übernommen";  // status after No
inline constexpr const char* kPictureLockText =
    "Vom aktuellen Bild ist bereits eine Kontur erstellt worden!\r\n\r\n"
    "Für Änderungen das Bild erneut öffnen.";

// Status line after opening a picture.
inline constexpr const char* kPictureLoadedStatus = "Bilddatei geladen";
inline constexpr const char* kNoPictureStatus = "Keine Bilddatei geladen";

// Contour export.
inline constexpr const char* kExportProgressText = "Export ...";  // status line
inline constexpr const char* kNoContourText =
    "Es wurde noch keine Kontur erstellt!\r\n\r\n[Bilddatei öffnen] -> [Konturtyp wählen] -> "
    "[Erstelle NC-Programm]";

}  // namespace korvane
