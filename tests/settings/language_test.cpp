#include "settings/language.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "base/interaction.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(LangText, Lookup) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    int number;
    std::string expected;
  };
  const Case cases[] = {
      {"text follows the digits", {"3006Skalierung"}, 3006, "Skalierung"},
      {"a blank stays part of the text", {"1002 Bild"}, 1002, " Bild"},
      {"first line counts", {"1002Bild", "1002Picture"}, 1002, "Bild"},
      {"prefix test on characters", {"10010xyz"}, 1001, "0xyz"},
      {"later line found", {"1001Rohteil", "", "x1002", "1002Bild"}, 1002, "Bild"},
      {"missing number", {"1001Rohteil"}, 1002, ""},
      {"line not starting with a number", {" 1002Bild"}, 1002, ""},
      {"empty list", {}, 1002, ""},
      {"number alone", {"1002"}, 1002, ""},
      {"trailing blank kept", {"3106Zeilen: "}, 3106, "Zeilen: "},
  };
  for (const Case& c : cases) {
    LanguageTexts texts{c.lines};
    EXPECT_EQ(texts.LangText(c.number), c.expected) << c.what;
  }
}

TEST(LangText, LineEnds) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"1001a\r\n1002b\r\n", {"1001a", "1002b"}},
      {"1001a\n\n1002b", {"1001a", "", "1002b"}},
      {"1001a\r1002b\r\r", {"1001a", "1002b", ""}},
      {"1001a\r\n\r\n1002b\n", {"1001a", "", "1002b"}},
      {"\xEF\xBB\xBF"
       "1001a\n",
       {"1001a"}},
      {"", {}},
  };
  for (const auto& [content, lines] : cases) {
    EXPECT_EQ(SplitLanguageLines(content), lines) << content;
  }
}

TEST(LangMessage, AppendsExtraText) {
  LanguageTexts texts{{"9204Hilfedatei nicht gefunden"}};
  FixedAnswers ui;
  LangMessage(texts, ui, 9204, "/opt/k/hilfe.html");
  LangMessage(texts, ui, 9204);
  LangMessage(texts, ui, 9999, "x");
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Hilfedatei nicht gefunden: /opt/k/hilfe.html",
                                                   "Hilfedatei nicht gefunden", ": x"}));
}

TEST(LoadLanguage, BesideExecutableBeforeDataFolder) {
  TempDir exe, data;
  struct Case {
    const char* what;
    int lang;
    bool inExe, inData;
    std::string expectedText;  // empty: load fails
  };
  const Case cases[] = {
      {"beside the executable wins", 2, true, true, "exe"},
      {"data folder when not beside", 2, false, true, "data"},
      {"lang 0 is German", 0, true, false, "exe"},
      {"missing everywhere", 3, false, false, ""},
      {"lang out of range", 5, true, true, ""},
      {"negative lang", -1, true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = LanguageFileName(c.lang);
    std::filesystem::remove(exe.file("english.txt"));
    std::filesystem::remove(data.file("english.txt"));
    for (const char* n : {"german.txt", "english.txt", "french.txt", "spanish.txt"}) {
      std::filesystem::remove(exe.file(n));
      std::filesystem::remove(data.file(n));
    }
    if (!name.empty() && c.inExe) WriteBytes(exe.file(name), "1002exe\n");
    if (!name.empty() && c.inData) WriteBytes(data.file(name), "1002data\n");
    LanguageTexts texts{{"1002previous"}};
    FixedAnswers ui;
    const bool ok = LoadLanguage(texts, c.lang, exe.path(), ui, data.path());
    if (c.expectedText.empty()) {
      EXPECT_FALSE(ok);
      ASSERT_EQ(ui.messages.size(), 1u);
      const std::string shown = name.empty() ? exe.path() + "/" : exe.file(name);
      EXPECT_EQ(ui.messages[0], "Datei " + shown + " kann nicht geöffnet werden");
      EXPECT_EQ(texts.LangText(1002), "previous");
    } else {
      EXPECT_TRUE(ok);
      EXPECT_TRUE(ui.messages.empty());
      EXPECT_EQ(texts.LangText(1002), c.expectedText);
    }
  }
}

TEST(LoadLanguage, EmptyFileEmptiesEveryText) {
  TempDir exe;
  WriteBytes(exe.file("french.txt"), "");
  LanguageTexts texts{{"1002Bild", "9106Beenden?"}};
  FixedAnswers ui;
  ASSERT_TRUE(LoadLanguage(texts, 3, exe.path(), ui, ""));
  EXPECT_TRUE(texts.lines.empty());
  for (const auto& table : {MainWindowCaptions(), SetupDialogCaptions()}) {
    for (const CaptionEntry& e : table) EXPECT_EQ(texts.LangText(e.number), "") << e.number;
  }
}

// The shipped language files: every caption and every text used by number.
std::set<int> RequiredNumbers() {
  std::set<int> numbers = {kSaveFilterText, kCloseQuestionText, kHelpFileText, kHelpMissingText,
                           kSetupWindowCaptionText};
  for (const auto& table : {MainWindowCaptions(), SetupDialogCaptions()}) {
    for (const CaptionEntry& e : table) numbers.insert(e.number);
  }
  return numbers;
}

LanguageTexts Shipped(int lang) {
  FixedAnswers ui;
  LanguageTexts texts;
  EXPECT_TRUE(LoadLanguage(texts, lang, std::string(KORVANE_SOURCE_DIR) + "/data/lang", ui, ""));
  return texts;
}

TEST(ShippedLanguages, EveryFileHasEveryNumber) {
  for (int lang = 1; lang <= 4; ++lang) {
    const LanguageTexts texts = Shipped(lang);
    for (int n : RequiredNumbers()) {
      EXPECT_FALSE(texts.LangText(n).empty()) << LanguageFileName(lang) << " lacks " << n;
    }
    // No number is given twice (the second would never be read) and every
    // line is an entry.
    std::set<std::string> seen;
    for (const std::string& line : texts.lines) {
      const std::string number = line.substr(0, line.find_first_not_of("0123456789"));
      EXPECT_EQ(number.size(), 4u) << LanguageFileName(lang) << ": " << line;
      EXPECT_TRUE(seen.insert(number).second) << LanguageFileName(lang) << ": " << line;
    }
  }
}

TEST(ShippedLanguages, GermanRepeatsTheDesignedCaptions) {
  const LanguageTexts german = Shipped(1);
  for (const auto& table : {MainWindowCaptions(), SetupDialogCaptions()}) {
    for (const CaptionEntry& e : table) EXPECT_EQ(german.LangText(e.number), e.german) << e.control;
  }
}

TEST(ShippedLanguages, TranslatedAndHelpFilesExist) {
  const LanguageTexts german = Shipped(1);
  std::set<std::string> helpFiles;
  for (int lang = 1; lang <= 4; ++lang) {
    const LanguageTexts texts = Shipped(lang);
    const std::string help = texts.LangText(kHelpFileText);
    helpFiles.insert(help);
    const std::string page = ReadBytes(std::string(KORVANE_SOURCE_DIR) + "/data/help/" + help);
    EXPECT_NE(page.find("<html"), std::string::npos) << help;
    EXPECT_NE(page.find("</html>"), std::string::npos) << help;
    // The filter text is followed by the extension and "|*.".
    EXPECT_EQ(texts.LangText(kSaveFilterText).back(), '.') << LanguageFileName(lang);
    if (lang == 1) continue;
    // Translated: the long captions differ from the German ones.
    for (int n : {3203, 3301, 4106, 4206, kCloseQuestionText}) {
      EXPECT_NE(texts.LangText(n), german.LangText(n)) << LanguageFileName(lang) << " " << n;
    }
  }
  EXPECT_EQ(helpFiles.size(), 4u) << "one help file per language";
}

}  // namespace
}  // namespace korvane
