#include "settings/inifile.h"

#include "base/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace korvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// One line of the file: [begin, end) is its content, `next` the offset after
// its line end ("\r\n", "\n" or a lone "\r").
struct Line {
  std::size_t begin, end, next;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  // An editor's byte-order mark belongs to no line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back({pos, text.size(), text.size()});
      break;
    }
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

// The section name of a "[name]" line, or nothing.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  line.remove_prefix(1);
  std::size_t close = line.find(']');
  name = Trim(line.substr(0, close));
  return true;
}

bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

// Where a key lives: the first section of that name and the first key of that
// name in it.
struct Location {
  bool sectionFound = false;
  std::size_t sectionLine = 0;  // index of the header line
  std::size_t sectionEnd = 0;   // index of the first line after the section
  bool keyFound = false;
  std::size_t keyLine = 0;
  std::string_view value;
};

Location Find(std::string_view text, const std::vector<Line>& lines, std::string_view section,
              std::string_view key) {
  Location loc;
  std::size_t i = 0;
  for (; i < lines.size(); ++i) {
    std::string_view name;
    if (SectionName(text.substr(lines[i].begin, lines[i].end - lines[i].begin), name) &&
        SameName(name, section)) {
      loc.sectionFound = true;
      loc.sectionLine = i;
      break;
    }
  }
  if (!loc.sectionFound) return loc;
  for (++i; i < lines.size(); ++i) {
    std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    std::string_view name, value;
    if (SectionName(line, name)) break;
    if (!loc.keyFound && KeyLine(line, name, value) && SameName(name, key)) {
      loc.keyFound = true;
      loc.keyLine = i;
      loc.value = value;
    }
  }
  loc.sectionEnd = i;
  return loc;
}

std::string Sanitised(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

// Length of the well-formed UTF-8 sequence at s[0], or 1 for any other byte.
std::size_t CharLength(std::string_view s) {
  const auto b0 = static_cast<unsigned char>(s[0]);
  std::size_t len;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 1;
  }
  if (s.size() < len) return 1;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[k]);
    const unsigned char l = (k == 1) ? lo : 0x80, h = (k == 1) ? hi : 0xBF;
    if (b < l || b > h) return 1;
  }
  return len;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int32_t ParseInt(std::string_view text, bool allowHex) {
  text = Trim(text);
  constexpr uint64_t kMax32 = 0xFFFFFFFFull;
  if (allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t v = 0;
    for (char c : text.substr(2)) {
      int d = HexDigit(c);
      if (d < 0) return 0;
      v = v * 16 + static_cast<uint64_t>(d);
      if (v > kMax32) return 0;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(v));
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > kMax32) return 0;
  }
  if (negative) {
    if (v > 0x80000000ull) return 0;
    return static_cast<int32_t>(-static_cast<int64_t>(v));
  }
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

}  // namespace

std::string_view CutToChars(std::string_view text, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < maxChars && pos < text.size(); ++n) {
    pos += CharLength(text.substr(pos));
  }
  return text.substr(0, pos);
}

int32_t ParseSettingsInt(std::string_view text) { return ParseInt(text, true); }
int32_t ParseSettingsDecimal(std::string_view text) { return ParseInt(text, false); }

IniDocument::IniDocument(const std::string& file) : file_(file) {
  ReadWholeFile(file, text_);  // a missing file is an empty one
}

std::string IniDocument::readString(std::string_view section, std::string_view key) const {
  Location loc = Find(text_, SplitLines(text_), section, key);
  if (!loc.keyFound) return {};
  return std::string(CutToChars(loc.value, kIniValueMaxChars));
}

int32_t IniDocument::readInt(std::string_view section, std::string_view key) const {
  return ParseSettingsInt(readString(section, key));
}

bool IniDocument::readBool(std::string_view section, std::string_view key) const {
  return readInt(section, key) != 0;
}

void IniDocument::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string& text = text_;
  const std::vector<Line> lines = SplitLines(text);
  // New lines follow the file's own line ends.
  std::string eol = "\n";
  if (!lines.empty() && lines[0].next > lines[0].end) {
    eol = text.substr(lines[0].end, lines[0].next - lines[0].end);
  }
  const std::string entry = std::string(key) + "=" + Sanitised(value);
  Location loc = Find(text, lines, section, key);

  std::string out;
  if (loc.keyFound) {
    const Line& l = lines[loc.keyLine];
    out = text.substr(0, l.begin) + entry + text.substr(l.end);
  } else {
    // After the section's last non-blank line, so that blank lines that
    // separate it from the next section stay where they are; a new section
    // goes to the end of the file.
    std::size_t after = loc.sectionFound ? loc.sectionLine : lines.size();
    if (loc.sectionFound) {
      for (std::size_t i = loc.sectionLine + 1; i < loc.sectionEnd; ++i) {
        const Line& l = lines[i];
        if (!Trim(std::string_view(text).substr(l.begin, l.end - l.begin)).empty()) after = i;
      }
    }
    std::size_t at = after < lines.size() ? lines[after].next : text.size();
    out = text.substr(0, at);
    const bool lineOpen = after < lines.size()
                              ? lines[after].next == lines[after].end
                              : (!lines.empty() && lines.back().next == lines.back().end);
    if (lineOpen) out += eol;
    if (!loc.sectionFound) out += "[" + std::string(section) + "]" + eol;
    out += entry + eol;
    out += text.substr(at);
  }
  text_ = std::move(out);
}

void IniDocument::writeInt(std::string_view section, std::string_view key, int32_t value) {
  writeString(section, key, std::to_string(value));
}

void IniDocument::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

bool IniDocument::save() const { return WriteFileAtomically(file_, text_); }

std::string IniReadString(const std::string& file, std::string_view section, std::string_view key) {
  return IniDocument(file).readString(section, key);
}

int32_t IniReadInt(const std::string& file, std::string_view section, std::string_view key) {
  return ParseSettingsInt(IniReadString(file, section, key));
}

bool IniReadBool(const std::string& file, std::string_view section, std::string_view key) {
  return IniReadInt(file, section, key) != 0;
}

bool IniWriteString(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value) {
  IniDocument doc(file);
  doc.writeString(section, key, value);
  return doc.save();
}

bool IniWriteInt(const std::string& file, std::string_view section, std::string_view key,
                 int32_t value) {
  return IniWriteString(file, section, key, std::to_string(value));
}

bool IniWriteBool(const std::string& file, std::string_view section, std::string_view key,
                  bool value) {
  return IniWriteString(file, section, key, value ? "1" : "0");
}

}  // namespace korvane
