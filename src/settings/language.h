#pragma once
// User-interface texts by number, from one of the four language files. A line
// holds the decimal number immediately followed by its text; everything after
// the digits belongs to the text, a separating blank included.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class UserDialogs;

struct LanguageTexts {
  std::vector<std::string> lines;  // the loaded file's lines, in file order

  // The text of the first line that begins with the decimal text of
  // `number`, without that prefix; empty when no line does. The test is on
  // characters, so a line 10010... also answers 1001.
  std::string LangText(int number) const;
};

// A control whose caption comes from the language file.
struct CaptionEntry {
  int number;
  const char* control;  // objectName of the control
  const char* german;   // its caption as designed
};

// The main window's captions, the setup dialog's and the export dialog's.
std::span<const CaptionEntry> MainWindowCaptions();
std::span<const CaptionEntry> SetupDialogCaptions();
std::span<const CaptionEntry> ExportDialogCaptions();

// The picture dialogs' captions; the entry whose control is the dialog's own
// objectName is its window caption.
std::span<const CaptionEntry> CorrectionDialogCaptions();  // TFHkg
std::span<const CaptionEntry> FilterDialogCaptions();      // TFFilter
std::span<const CaptionEntry> ResizeDialogCaptions();      // TFResize

// Texts used by number outside the caption tables.
constexpr int kSetupWindowCaptionText = 2002;  // setup dialog's window caption
constexpr int kSaveFilterText = 4119;          // text + ext + "|*." + ext
constexpr int kCloseQuestionText = 9106;
constexpr int kHelpFileText = 9203;  // help file, relative to the program's folder
constexpr int kHelpMissingText = 9204;

// File name of a language number: 1 (and 0) german.txt, 2 english.txt,
// 3 french.txt, 4 spanish.txt; empty for any other number.
std::string LanguageFileName(int lang);

// Where the file of `lang` is read from: beside the executable when it is
// there, else in the installed data folder; when neither holds it, the name
// beside the executable (the one an error message names). `exeDir` may be
// empty when the executable's folder is unknown.
std::string LanguageFilePath(int lang, const std::string& exeDir,
                             const std::string& dataDir = KORVANE_DATADIR);

// Split a language file into lines at "\r\n", "\n" or a lone "\r".
std::vector<std::string> SplitLanguageLines(std::string_view content);

// Load the language file of `lang` (0 counts as 1) into `texts`. When the
// file cannot be opened, or `lang` names no file, the user sees
// "Datei %s kann nicht geöffnet werden", `texts` keeps what it held and the
// result is false.
bool LoadLanguage(LanguageTexts& texts, int lang, const std::string& exeDir, UserDialogs& ui,
                  const std::string& dataDir = KORVANE_DATADIR);

// The text LangMessage shows: LangText(number), followed by ": " and `extra`
// when `extra` is not empty.
std::string LangMessageText(const LanguageTexts& texts, int number, const std::string& extra);
void LangMessage(const LanguageTexts& texts, UserDialogs& ui, int number,
                 const std::string& extra = {});

}  // namespace korvane
