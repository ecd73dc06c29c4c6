#include "settings/inifile.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <optional>

#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct ReadCase {
  const char* what;
  std::string content;
  const char* section;
  const char* key;
  std::string expected;
};

TEST(IniRead, TextValues) {
  const std::string longX(3000, 'x');
  std::string longUmlaut;
  for (int i = 0; i < 2100; ++i) longUmlaut += "\xC3\xA4";
  const ReadCase cases[] = {
      {"plain", "[set]\nProfil=ISO\n", "set", "Profil", "ISO"},
      {"missing section", "[path]\nProfil=ISO\n", "set", "Profil", ""},
      {"missing key", "[set]\nProfile=ISO\n", "set", "Profil", ""},
      {"key of another section", "[path]\nnc=a\n[set]\nvo=b\n", "set", "nc", ""},
      {"case-insensitive section and key", "[SeT]\nPROFIL=ISO\n", "set", "Profil", "ISO"},
      {"first key wins", "[set]\na=1\nA=2\n", "set", "a", "1"},
      {"first section wins", "[set]\na=1\n[SET]\na=2\nb=3\n", "set", "a", "1"},
      {"only the first section is searched", "[set]\na=1\n[SET]\nb=3\n", "set", "b", ""},
      {"blanks and tabs trimmed", "[set]\n \t a\t = \t v a l \t\n", "set", "a", "v a l"},
      {"other white space kept", "[set]\na=\vx\xC2\xA0\n", "set", "a", "\vx\xC2\xA0"},
      {"section header padded", "  [ set ]  \na=1\n", "set", "a", "1"},
      {"second = belongs to the value", "[set]\na=b=c\n", "set", "a", "b=c"},
      {"empty value", "[set]\na=\n", "set", "a", ""},
      {"CRLF line ends", "[set]\r\na=1\r\nb=2\r\n", "set", "a", "1"},
      {"CR line ends", "[set]\ra=1\rb=2\r", "set", "b", "2"},
      {"no final line end", "[set]\na=last", "set", "a", "last"},
      {"byte-order mark", "\xEF\xBB\xBF[set]\na=1\n", "set", "a", "1"},
      {"bytes that are not UTF-8", "[set]\na=\xE4\xF6\xFF\n", "set", "a", "\xE4\xF6\xFF"},
      {"umlauts", "[set]\nProfil=Fr\xC3\xA4sen\n", "set", "Profil", "Fr\xC3\xA4sen"},
      {"cut at 2047 characters", "[set]\na=" + longX + "\n", "set", "a", longX.substr(0, 2047)},
      {"2047 characters stay whole", "[set]\na=" + longX.substr(0, 2047) + "\n", "set", "a",
       longX.substr(0, 2047)},
      {"cut counts characters, not bytes", "[set]\na=" + longUmlaut + "\n", "set", "a",
       longUmlaut.substr(0, 2 * 2047)},
      {"trimmed before the cut", "[set]\na=" + std::string(100, ' ') + longX + "\n", "set", "a",
       longX.substr(0, 2047)},
  };
  TempDir dir;
  const std::string file = dir.file("t.ini");
  for (const ReadCase& c : cases) {
    WriteBytes(file, c.content);
    EXPECT_EQ(IniReadString(file, c.section, c.key), c.expected) << c.what;
  }
  EXPECT_EQ(IniReadString(dir.file("missing.ini"), "set", "a"), "");
  EXPECT_EQ(IniReadInt(dir.file("missing.ini"), "set", "a"), 0);
  EXPECT_FALSE(IniReadBool(dir.file("missing.ini"), "set", "a"));
}

TEST(IniRead, IntegersAndBooleans) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      {"12", 12},
      {"+7", 7},
      {"-5", -5},
      {"007", 7},
      {"  42\t", 42},
      {"0x1F", 31},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"0x00000000FF", 255},
      {"0x100000000", 0},
      {"2147483647", INT32_MAX},
      {"4294967295", -1},
      {"4294967296", 0},
      {"-2147483648", INT32_MIN},
      {"-2147483649", 0},
      {"99999999999999999999999", 0},
      {"12abc", 0},
      {"1.5", 0},
      {"1 2", 0},
      {"", 0},
      {"-", 0},
      {"0x", 0},
      {"-0x10", 0},
      {"0x1G", 0},
      {"yes", 0},
  };
  TempDir dir;
  const std::string file = dir.file("t.ini");
  for (const Case& c : cases) {
    WriteBytes(file, std::string("[set]\nv=") + c.text + "\n");
    EXPECT_EQ(IniReadInt(file, "set", "v"), c.value) << c.text;
    EXPECT_EQ(IniReadBool(file, "set", "v"), c.value != 0) << c.text;
    EXPECT_EQ(ParseSettingsInt(c.text), c.value) << c.text;
  }
}

TEST(IniRead, DecimalOnlyFields) {
  const std::pair<const char*, int32_t> cases[] = {{"31", 31},   {"-10", -10}, {"0x1F", 0},
                                                   {"259", 259}, {"N5", 0},    {"", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseSettingsDecimal(text), value) << text;
}

struct WriteCase {
  const char* what;
  std::optional<std::string> before;  // nothing: no file yet
  const char* section;
  const char* key;
  std::string value;
  std::string after;
};

TEST(IniWrite, ReplacesAppendsAndCreates) {
  const WriteCase cases[] = {
      {"replace in place", "[set]\na=1\nb=2\n", "set", "a", "9", "[set]\na=9\nb=2\n"},
      {"replace matches without case", "[SET]\nA=1\nb=2\n", "set", "a", "9", "[SET]\na=9\nb=2\n"},
      {"replace the first of two keys", "[set]\na=1\na=2\n", "set", "a", "3", "[set]\na=3\na=2\n"},
      {"append to the first of two sections", "[set]\na=1\n[set]\nb=2\n", "set", "b", "3",
       "[set]\na=1\nb=3\n[set]\nb=2\n"},
      {"append before the blank lines of a section", "[path]\nnc=x\n\n[set]\na=1\n", "path", "vo",
       "y", "[path]\nnc=x\nvo=y\n\n[set]\na=1\n"},
      {"append to a section header alone", "[path]\n[set]\na=1\n", "path", "nc", "x",
       "[path]\nnc=x\n[set]\na=1\n"},
      {"create the section at the end", "[path]\nnc=x\n", "set", "a", "1",
       "[path]\nnc=x\n[set]\na=1\n"},
      {"complete an open last line", "[set]\na=1", "set", "b", "2", "[set]\na=1\nb=2\n"},
      {"keep CRLF line ends", "[set]\r\na=1\r\n", "set", "b", "2", "[set]\r\na=1\r\nb=2\r\n"},
      {"replace keeps the line end", "[set]\r\na=1\r\nb=2", "set", "a", "x", "[set]\r\na=x\r\nb=2"},
      {"other lines untouched", "; note\n[set]\n  a = 1 \nc=\xFF\n", "set", "a", "2",
       "; note\n[set]\na=2\nc=\xFF\n"},
      {"empty value", "[set]\na=1\n", "set", "a", "", "[set]\na=\n"},
      {"bytes pass through", "[set]\n", "set", "a", "\xE4\xC3\xA4", "[set]\na=\xE4\xC3\xA4\n"},
      {"a line break cannot start a new key", "[set]\n", "set", "a", "x\r\n[evil]\nb=1",
       "[set]\na=x  [evil] b=1\n"},
      {"create the file", std::nullopt, "set", "a", "1", "[set]\na=1\n"},
      {"empty file", "", "path", "nc", "", "[path]\nnc=\n"},
      {"byte-order mark alone", "\xEF\xBB\xBF", "set", "a", "1", "\xEF\xBB\xBF[set]\na=1\n"},
  };
  TempDir dir;
  const std::string file = dir.file("t.ini");
  for (const WriteCase& c : cases) {
    std::filesystem::remove(file);
    if (c.before) WriteBytes(file, *c.before);
    ASSERT_TRUE(IniWriteString(file, c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(ReadBytes(file), c.after) << c.what;
  }
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(IniWrite, IntegersAndBooleansReadBack) {
  TempDir dir;
  const std::string file = dir.file("t.ini");
  for (int32_t v : {0, 1, -1, 16768185, INT32_MIN, INT32_MAX}) {
    ASSERT_TRUE(IniWriteInt(file, "set", "HG", v));
    EXPECT_EQ(IniReadInt(file, "set", "HG"), v);
  }
  for (bool b : {true, false}) {
    ASSERT_TRUE(IniWriteBool(file, "set", "XY", b));
    EXPECT_EQ(IniReadString(file, "set", "XY"), b ? "1" : "0");
    EXPECT_EQ(IniReadBool(file, "set", "XY"), b);
  }
  EXPECT_EQ(IniReadString(file, "set", "HG"), "2147483647");
}

TEST(IniWrite, RefusedWithoutFolder) {
  TempDir dir;
  const std::string file = dir.file("no-such-folder/t.ini");
  EXPECT_FALSE(IniWriteString(file, "set", "a", "1"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("no-such-folder")));
}

TEST(IniWrite, FailedWriteKeepsTheOldFile) {
  // A folder standing where the file should be cannot be replaced.
  TempDir dir;
  const std::string file = dir.file("t.ini");
  std::filesystem::create_directory(file);
  WriteBytes(file + "/inside", "kept");
  EXPECT_FALSE(IniWriteString(file, "set", "a", "1"));
  EXPECT_EQ(ReadBytes(file + "/inside"), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace korvane
