// libFuzzer target: the language-file reader and text lookup.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/interaction.h"
#include "base/fileio.h"
#include "memfile.h"
#include "settings/inifile.h"
#include "settings/language.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = SplitLanguageLines(text);
  LanguageTexts texts;
  texts.lines = lines;
  for (const CaptionEntry& e : MainWindowCaptions()) (void)texts.LangText(e.number);
  for (const CaptionEntry& e : SetupDialogCaptions()) (void)texts.LangText(e.number);
  // A lookup returns the rest of the first line that starts with the number.
  for (const std::string& line : lines) {
    size_t digits = 0;
    while (digits < line.size() && digits < 9 && line[digits] >= '0' && line[digits] <= '9')
      ++digits;
    if (digits == 0) continue;
    const int number = std::stoi(line.substr(0, digits));
    const std::string got = texts.LangText(number);
    const std::string prefix = std::to_string(number);
    bool found = false;
    for (const std::string& l : lines)
      if (l.compare(0, prefix.size(), prefix) == 0) {
        if (got != l.substr(prefix.size())) std::abort();
        found = true;
        break;
      }
    if (!found && !got.empty()) std::abort();
  }
  // The same file loaded from disk gives the same lines.
  fuzz::MemFile file(text);
  std::string content;
  if (!ReadWholeFile(file.path(), content) || content != text) std::abort();
  return 0;
}
