// The shipped profiles must give programs a machine accepts: the G-code
// profiles are run through LinuxCNC's interpreter, the conversational one is
// checked line by line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/job.h"
#include "core/jobsettings.h"
#include "core/convert.h"
#include "base/interaction.h"
#include "settings/activate.h"
#include "ncout/ncbuild.h"
#include "settings/settings.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Defaults loaded, the given profile active, and two paths: a closed square
// and a diagonal stroke whose coordinates need decimals.
Job JobWithProfile(int number) {
  Job job;
  NullProgress progress;
  FixedAnswers ui(true);
  const std::string data = std::string(KORVANE_SOURCE_DIR) + "/data/";
  EXPECT_TRUE(LoadSettings(job, data + "config", data + "lang", ui, ""));
  ActivateProfile(job, number);
  job.scale = 0.25L;
  job.joinGap = 1;
  job.segments.append(10, 10, 50, 10);
  job.segments.append(50, 10, 50, 50);
  job.segments.append(50, 50, 10, 50);
  job.segments.append(10, 50, 10, 10);
  job.segments.append(61, 3, 97, 41);
  job.rect = FindWayRect(job.segments);
  EXPECT_TRUE(ConvertToNC(job, progress).ok());
  return job;
}

TEST(DefaultProfiles, GCodeRunsInLinuxCNC) {
  if (std::system("command -v rs274 >/dev/null 2>&1") != 0) GTEST_SKIP() << "rs274 missing";
  for (int number : {1, 2, 3}) {
    const Job job = JobWithProfile(number);
    SCOPED_TRACE(job.profiles[static_cast<std::size_t>(number - 1)].Profil);
    TempDir dir;
    WriteBytes(dir.file("tool.tbl"), "T1 P1 D3.0 Z+0.0 ;\n");
    WriteBytes(dir.file("prog.ngc"), std::string(job.ncLines.text()));
    const std::string cmd =
        "cd '" + dir.path() + "' && rs274 -g -t tool.tbl prog.ngc out.txt </dev/null >log.txt 2>&1";
    const int status = std::system(cmd.c_str());
    const std::string log = ReadBytes(dir.file("log.txt"));
    const std::string out = ReadBytes(dir.file("out.txt"));
    EXPECT_EQ(status, 0) << log << "\n" << std::string(job.ncLines.text());
    EXPECT_EQ(log.find("rror"), std::string::npos) << log;
    // The last feed move reaches the end of the stroke: 97 * 0.25, -41 * 0.25.
    EXPECT_NE(out.find("STRAIGHT_FEED(24.2500, -10.2500"), std::string::npos) << out;
    // Milling profiles plunge to Z -0.5 at the start of the square; the laser
    // profile never moves Z.
    const bool laser = number == 3;
    EXPECT_EQ(out.find("STRAIGHT_FEED(2.5000, -2.5000, -0.5000") != std::string::npos, !laser)
        << out;
    static const std::regex move("STRAIGHT_[A-Z]+\\([^,]*, [^,]*, ([^,]*),");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), move); it != std::sregex_iterator();
         ++it) {
      if (laser) {
        EXPECT_EQ((*it)[1], "0.0000") << it->str();
      }
    }
    EXPECT_NE(out.find("PROGRAM_END"), std::string::npos) << out;
  }
}

TEST(DefaultProfiles, ConversationalBlocksAreNumberedAndSigned) {
  const Job job = JobWithProfile(4);
  ASSERT_FALSE(job.ncLines.empty());
  const std::regex number("[+-][0-9]{3}\\.[0-9]{3}");
  for (std::size_t i = 0; i < job.ncLines.size(); ++i) {
    const std::string line(job.ncLines[i]);
    const std::string prefix = std::to_string(i) + " ";
    EXPECT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
    // Every coordinate carries a sign and three integer and three decimal digits.
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
      if (word.size() < 2 || word.find_first_of("XYZ") != 0 || word == "Z+100") continue;
      EXPECT_TRUE(std::regex_match(word.substr(1), number)) << line;
    }
  }
  EXPECT_EQ(job.ncLines.front(), "0 BEGIN PGM KORVANE MM");
  EXPECT_EQ(job.ncLines.back(), std::to_string(job.ncLines.size() - 1) + " END PGM KORVANE MM");
  EXPECT_NE(std::string(job.ncLines.text()).find(" L X+024.250 Y-010.250 R0 F400\n"), std::string::npos)
      << std::string(job.ncLines.text());
}

// GRBL has no interpreter here; the laser profile is held to its documented
// rules instead: only the words and codes GRBL 1.1 knows, lines of at most 80
// characters, one spindle/laser M code per block, a feed rate before the first
// G1, the laser on (M4) for every feed move and off for every rapid move, no
// switching to the state it is already in (the state at start is unknown, so a
// first M5 is a safe start), and M2 at the end.
TEST(DefaultProfiles, GrblLaserFollowsGrblRules) {
  const Job job = JobWithProfile(3);
  ASSERT_EQ(job.profiles[2].Profil, "GRBL Laser");
  static const std::regex word("([A-Z])([-+]?[0-9]*\\.?[0-9]+)");
  static const std::regex knownG("0|1|2|3|4|10|17|18|19|20|21|28|30|40|49|53|5[4-9]|61|80|90|91|92|93|94");
  static const std::regex knownM("0|1|2|30|3|4|5|7|8|9|56");
  std::optional<bool> laserOn;
  bool feedSet = false;
  std::string previous;
  for (std::string_view text : job.ncLines) {
    const std::string line(text);
    SCOPED_TRACE(line);
    EXPECT_LE(line.size(), 80u);
    EXPECT_NE(line, previous) << "repeated block";
    previous = line;
    std::string rest = std::regex_replace(line, word, "");
    EXPECT_EQ(rest.find_first_not_of(' '), std::string::npos) << "not a GRBL word: " << rest;
    int spindleCodes = 0;
    int motion = -1;
    for (auto it = std::sregex_iterator(line.begin(), line.end(), word);
         it != std::sregex_iterator(); ++it) {
      const std::string letter = (*it)[1], value = (*it)[2];
      EXPECT_NE(std::string("FGMNPSTXYZIJKLR").find(letter), std::string::npos) << letter;
      if (letter == "G") {
        EXPECT_TRUE(std::regex_match(value, knownG)) << "G" << value;
        if (value == "0" || value == "1") motion = std::stoi(value);
      } else if (letter == "M") {
        EXPECT_TRUE(std::regex_match(value, knownM)) << "M" << value;
        if (value == "3" || value == "4" || value == "5") {
          ++spindleCodes;
          const bool on = value != "5";
          EXPECT_NE(laserOn, on) << "laser already " << (on ? "on" : "off");
          laserOn = on;
        }
      } else if (letter == "F") {
        feedSet = true;
      }
    }
    EXPECT_LE(spindleCodes, 1);
    if (motion == 1) {
      EXPECT_TRUE(feedSet);
      EXPECT_EQ(laserOn, true) << "feed move with the laser off";
    }
    if (motion == 0) {
      EXPECT_EQ(laserOn, false) << "rapid move with the laser on";
    }
  }
  EXPECT_EQ(laserOn, false);
  EXPECT_EQ(job.ncLines.back(), "M2");
}

}  // namespace
}  // namespace korvane
