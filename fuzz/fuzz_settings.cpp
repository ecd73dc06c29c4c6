// libFuzzer target: the settings reader. Every profile and main-file key is
// read; then a value written and the text read back must give that value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "memfile.h"
#include "settings/inifile.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::MemFile file(text);
  (void)ReadProfile(file.path());
  (void)ReadGeneralSettings(file.path());

  // The value to write: the input's first line, as a typed field would be.
  std::string value(text.substr(0, text.find_first_of("\r\n")));
  IniDocument doc(file.path());
  doc.writeString("set", "Profil", value);
  doc.writeInt("Path", "nc", static_cast<int32_t>(size));
  doc.writeBool("set", "XY", size % 2 == 1);
  fuzz::MemFile written(doc.text());
  const IniDocument back(written.path());
  // What a read returns: blanks and tabs around it removed, cut to length.
  std::string_view want = value;
  while (!want.empty() && (want.front() == ' ' || want.front() == '\t')) want.remove_prefix(1);
  while (!want.empty() && (want.back() == ' ' || want.back() == '\t')) want.remove_suffix(1);
  want = CutToChars(want, kIniValueMaxChars);
  if (back.readString("SET", "profil") != want) std::abort();
  if (back.readInt("path", "NC") != static_cast<int32_t>(size)) std::abort();
  if (back.readBool("set", "xy") != (size % 2 == 1)) std::abort();
  return 0;
}
