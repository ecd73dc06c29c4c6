#pragma once
// Initialisation files read and written one value at a time, the way the
// settings have always been kept: "[section]" lines followed by key=value
// lines, section and key names matched without regard to (ASCII) case, the
// first matching section and the first matching key in it counting. Every call
// opens the file, reads or writes one value and closes it again; a write goes
// to a temporary file that then replaces the old one, so a failed write never
// leaves a half-written file behind. Bytes are passed through unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// Longest text value a read returns, in characters (a well-formed UTF-8
// sequence or any other single byte counts as one character).
constexpr std::size_t kIniValueMaxChars = 2047;

// The text value, blanks and tabs around it removed, cut to kIniValueMaxChars;
// empty when the file, the section or the key is missing.
std::string IniReadString(const std::string& file, std::string_view section, std::string_view key);

// The value read as ParseSettingsInt does; 0 when missing.
int32_t IniReadInt(const std::string& file, std::string_view section, std::string_view key);

// The value read as an integer: on when not 0.
bool IniReadBool(const std::string& file, std::string_view section, std::string_view key);

// Replace the key's line in place, or append it to the end of its section,
// creating the section and the file when needed (the folder must exist).
// A line break in the value would start a new line in the file, so each one
// is written as a blank. Returns false when the file cannot be written.
bool IniWriteString(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value);
bool IniWriteInt(const std::string& file, std::string_view section, std::string_view key,
                 int32_t value);
bool IniWriteBool(const std::string& file, std::string_view section, std::string_view key,
                  bool value);

// One file's text held in memory, with the same reading and writing rules as
// the single-value functions above (which are built on it). The settings
// store uses it to read a file once per load and to write a file once per
// save: a file is then either completely written or left as it was.
class IniDocument {
 public:
  // The file's current content; a missing or unreadable file reads as empty.
  explicit IniDocument(const std::string& file);

  std::string readString(std::string_view section, std::string_view key) const;
  int32_t readInt(std::string_view section, std::string_view key) const;
  bool readBool(std::string_view section, std::string_view key) const;

  // Change the text in memory; save() writes it.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInt(std::string_view section, std::string_view key, int32_t value);
  void writeBool(std::string_view section, std::string_view key, bool value);

  // Write the whole text through a temporary file; false when refused.
  bool save() const;

  const std::string& file() const { return file_; }
  const std::string& text() const { return text_; }

 private:
  std::string file_;
  std::string text_;
};

// Integer settings text: an optional sign and decimal digits, or "0x"/"0X"
// and hexadecimal digits. Anything else, and values that do not fit in 32
// bits, give 0. Values from 2^31 up to 2^32 - 1 keep their bit pattern
// (colour values are often written that way).
int32_t ParseSettingsInt(std::string_view text);

// The same for fields that only take decimal numbers (digit counts, block
// numbering): "0x1F" gives 0 here.
int32_t ParseSettingsDecimal(std::string_view text);

// The first `maxChars` characters of `text`, counting as above.
std::string_view CutToChars(std::string_view text, std::size_t maxChars);

}  // namespace korvane
