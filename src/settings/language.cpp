#include "settings/language.h"

#include <array>

#include "base/fileio.h"
#include "base/interaction.h"
#include "settings/inifile.h"

namespace korvane {
namespace {

constexpr std::array<CaptionEntry, 22> kMainWindow = {{
    {1001, "BBlank", "Rohteil"},
    {1002, "BImage", "Bild"},
    {1003, "BProgram", "NC-Programm"},
    {1004, "BGrafik", "NC-Grafik"},
    {2002, "Einstellungen1", "Einstellungen"},
    {2008, "Hilfe1", "Hilfe"},
    {3006, "BScale", "Skalierung"},
    {3101, "LAnsicht", "Ansicht"},
    {3102, "LParameter", "NC-Ausgabe"},
    {3105, "LZeichen", "Zeichen:"},
    {3106, "LZeilen", "Zeilen: "},
    {3201, "RAnzeigen", "Rohteil anzeigen"},
    {3202, "RDelete", "Rohteil löschen"},
    {3203, "LRInfo",
     "Alle Angaben beziehen sich auf die Lage zum Nullpunkt - MINUS-Vorzeichen mit angeben!"},
    {3204, "LMittelpunkt1", "Mittelpunkt"},
    {3205, "LMittelpunkt2", "Mittelpunkt"},
    {3206, "LMittelpunkt3", "Mittelpunkt"},
    {3301, "LRAbstand", "Sicherheitsabstand (R)"},
    {3302, "LZAbstand", "Zustelltiefe (Z)"},
    {3303, "LZVorschub", "Vorschub Z"},
    {3304, "LXYVorschub", "Vorschub XY"},
    {1100, "BProfil", "PROFIL"},
}};

constexpr std::array<CaptionEntry, 41> kSetupDialog = {{
    {4001, "P1", "Profil"},
    {4002, "P2", "Profil"},
    {4003, "P3", "Profil"},
    {4004, "P4", "Profil"},
    {4005, "MP", "Programm"},
    {4101, "LDir", "Verzeichnisse"},
    {4102, "LNc", "NC-Programme"},
    {4103, "LTemp", "Vorlagen"},
    {4106, "DNc", "Vorgaben NC-Programm"},
    {4107, "DGra", "Vorgaben NC-Grafik"},
    {4108, "Lachsen", "Achsen"},
    {4109, "LHG", "Hintergrund"},
    {4110, "LVorschub1", "Vorschub"},
    {4111, "LEilgang", "Positionierung"},
    {4112, "LBlank", "Rohteil"},
    {4113, "LProfil", "Standardprofil"},
    {4114, "LAuf", "Auflösung (TrueType)"},
    {4115, "Abbrechen", "&Abbrechen"},
    {4116, "Hilfe", "&Hilfe"},
    {4117, "Speichern", "&Speichern"},
    {4118, "LSuffix", "Dateiendung"},
    {4201, "LP1", "Profilname"},
    {4202, "LF1", "Zahlenformat"},
    {4203, "LFS1", "Anzahl Stellen"},
    {4204, "LFN1", "Nachkomma"},
    {4205, "EEDeziPunkt", "Dezimalpunkt"},
    {4206, "EENCPunkt", "Punkt bei ganzer Zahl"},
    {4207, "EEVNullen", "Vornullen"},
    {4208, "EENNullen", "Nachnullen"},
    {4209, "EEVorzeichen", "Immer Vorzeichen"},
    {4210, "LAlt1", "Alternative Achsen"},
    {4211, "LA1", "Programmausgabe"},
    {4213, "LAS1", "Sicherheitsabstand (R)"},
    {4214, "LAZ1", "Zustelltiefe (Z)"},
    {4215, "LAVZ1", "Vorschub Z-Achse"},
    {4216, "LAVXY1", "Vorschub XY-Achse"},
    {4218, "EESatznum", "Satznummerierung"},
    {4219, "LZ1", "Zeichen"},
    {4220, "LSchritt1", "Schritt"},
    {4221, "LStart", "Start"},
    {2002, "TFSetup", "Einstellungen"},  // the dialog's window caption
}};

constexpr std::array<CaptionEntry, 3> kExportDialog = {{
    {4301, "FExport", "Exportieren"},  // the dialog's window caption
    {4115, "Abbrechen", "&Abbrechen"},
    {4117, "Speichern", "&Speichern"},
}};

}  // namespace

std::span<const CaptionEntry> MainWindowCaptions() { return kMainWindow; }
std::span<const CaptionEntry> SetupDialogCaptions() { return kSetupDialog; }
std::span<const CaptionEntry> ExportDialogCaptions() { return kExportDialog; }

std::span<const CaptionEntry> CorrectionDialogCaptions() {
  static const CaptionEntry kTable[] = {
      {6300, "TFHkg", "Korrektur"},           {6301, "LHelligkeit", "Helligkeit"},
      {6302, "LKontrast", "Kontrast"},        {6303, "LGamma", "Gammakorrektur"},
      {6304, "BRestore", "Abbrechen"},        {6305, "BStore", "Übernehmen"},
  };
  return kTable;
}

std::span<const CaptionEntry> FilterDialogCaptions() {
  static const CaptionEntry kTable[] = {
      {6400, "TFFilter", "Filter"},         {6401, "BGrenzwert", "Grenzwert"},
      {6402, "BHipass", "Hipass"},          {6403, "BEdge", "Kanten"},
      {6404, "BScharf", "Scharf"},          {6405, "BPraegen", "Prägen"},
      {6406, "BWeich", "Weich"},            {6407, "BGraustufen", "Graustufen"},
      {6408, "BInvert", "Invertieren"},     {6409, "BRestore", "Abbrechen"},
      {6410, "BUndo", "Rückgängig"},        {6411, "BStore", "Übernehmen"},
  };
  return kTable;
}

std::span<const CaptionEntry> ResizeDialogCaptions() {
  static const CaptionEntry kTable[] = {
      {6500, "TFResize", "Größe ändern"}, {6501, "LAktuell", "Aktuell"},
      {6502, "LNeu", "Neu"},              {6503, "BRestore", "Abbrechen"},
      {6504, "BStore", "Übernehmen"},
  };
  return kTable;
}

std::string LanguageTexts::LangText(int number) const {
  const std::string n = std::to_string(number);
  for (const std::string& line : lines) {
    if (line.compare(0, n.size(), n) == 0) return line.substr(n.size());
  }
  return {};
}

std::string LanguageFileName(int lang) {
  switch (lang) {
    case 0:
    case 1:
      return "german.txt";
    case 2:
      return "english.txt";
    case 3:
      return "french.txt";
    case 4:
      return "spanish.txt";
    default:
      return {};
  }
}

namespace {
std::string InFolder(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

bool Readable(const std::string& path) {
  std::string ignored;
  return ReadWholeFile(path, ignored);
}
}  // namespace

std::string LanguageFilePath(int lang, const std::string& exeDir, const std::string& dataDir) {
  const std::string name = LanguageFileName(lang);
  const std::string beside = exeDir.empty() ? std::string() : InFolder(exeDir, name);
  if (name.empty()) return beside;
  if (!beside.empty() && Readable(beside)) return beside;
  const std::string installed = InFolder(dataDir, name);
  if (!dataDir.empty() && Readable(installed)) return installed;
  return beside.empty() ? name : beside;
}

std::vector<std::string> SplitLanguageLines(std::string_view content) {
  std::vector<std::string> lines;
  // A byte-order mark some editors write would hide the first number.
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = content.size();
    lines.emplace_back(content.substr(pos, end - pos));
    if (end == content.size()) break;
    pos = end + 1;
    if (content[end] == '\r' && pos < content.size() && content[pos] == '\n') ++pos;
  }
  return lines;
}

bool LoadLanguage(LanguageTexts& texts, int lang, const std::string& exeDir, UserDialogs& ui,
                  const std::string& dataDir) {
  const std::string path = LanguageFilePath(lang, exeDir, dataDir);
  std::string content;
  if (LanguageFileName(lang).empty() || !ReadWholeFile(path, content)) {
    ui.message("Datei " + path + " kann nicht geöffnet werden");
    return false;
  }
  texts.lines = SplitLanguageLines(content);
  return true;
}

std::string LangMessageText(const LanguageTexts& texts, int number, const std::string& extra) {
  std::string text = texts.LangText(number);
  if (!extra.empty()) text += ": " + extra;
  return text;
}

void LangMessage(const LanguageTexts& texts, UserDialogs& ui, int number,
                 const std::string& extra) {
  ui.message(LangMessageText(texts, number, extra));
}

}  // namespace korvane
