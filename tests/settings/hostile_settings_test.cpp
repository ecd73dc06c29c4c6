// Settings and language files that are huge or are no regular files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "base/interaction.h"
#include "base/fileio.h"
#include "settings/inifile.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// A profile with a 10 MB line among its keys reads every key right (the
// file used to be split again for every key read).
TEST(HostileSettings, ProfileWithATenMegabyteLineReadsEveryKey) {
  TempDir dir;
  const std::string file = dir.file("profil1.ini");
  std::string text = "[set]\nProfil=Gross\nJunk=" + std::string(10 << 20, 'x') + "\n";
  for (int n = 0; n < 500; ++n) text += "Filler" + std::to_string(n) + "=" + std::to_string(n) + "\n";
  text += "REbene=5\nZEbene=-1.5\nVorschubXY=F300\nDezipunkt=1\n[other]\nREbene=99\n";
  WriteBytes(file, text);
  const Profile p = ReadProfile(file);
  EXPECT_EQ(p.Profil, "Gross");
  EXPECT_EQ(p.REbene, "5");
  EXPECT_EQ(p.ZEbene, "-1.5");
  EXPECT_EQ(p.VorschubXY, "F300");
  EXPECT_TRUE(p.Dezipunkt);
  const IniDocument doc(file);
  EXPECT_EQ(doc.readString("set", "Junk"), std::string(kIniValueMaxChars, 'x'));
  EXPECT_EQ(doc.readString("SET", "filler499"), "499");
  EXPECT_EQ(doc.readString("other", "REbene"), "99");
  // A write changes what later reads see.
  IniDocument edited(file);
  edited.writeString("set", "REbene", "7");
  EXPECT_EQ(edited.readString("set", "REbene"), "7");
  EXPECT_EQ(edited.readString("set", "ZEbene"), "-1.5");
}

// A FIFO as a settings or language file must not block the load.
TEST(HostileSettings, FifoIsNotWaitedOn) {
  TempDir dir;
  const std::string fifo = dir.file("main.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string content;
  EXPECT_FALSE(ReadWholeFile(fifo, content));
  EXPECT_EQ(IniDocument(fifo).readString("set", "Profil"), "");

  ASSERT_EQ(mkfifo(dir.file("german.txt").c_str(), 0600), 0);
  LanguageTexts texts;
  FixedAnswers ui;
  EXPECT_FALSE(LoadLanguage(texts, 1, dir.path(), ui, dir.path()));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Datei " + dir.file("german.txt") + " kann nicht geöffnet werden");

  // The store names every such file, and only those: a FIFO, a folder and a
  // file it may not read, not a missing or a readable one.
  ASSERT_EQ(mkdir(dir.file("profil2.ini").c_str(), 0700), 0);
  WriteBytes(dir.file("profil3.ini"), "[set]\n");
  WriteBytes(dir.file("profil4.ini"), "[set]\n");
  ASSERT_EQ(chmod(dir.file("profil4.ini").c_str(), 0), 0);
  std::vector<std::string> expected = {dir.file("profil2.ini"), fifo};
  if (ReadWholeFile(dir.file("profil4.ini"), content)) {
    // Running as root: permissions do not stop the read.
  } else {
    expected.insert(expected.begin() + 1, dir.file("profil4.ini"));
  }
  EXPECT_EQ(UnreadableSettingsFiles(dir.path()), expected);
  EXPECT_EQ(UnreadableSettingsFileText(fifo), "Datei " + fifo + " kann nicht geöffnet werden");
}

}  // namespace
}  // namespace korvane
