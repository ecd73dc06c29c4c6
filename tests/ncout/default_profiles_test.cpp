// The shipped profiles must give programs a machine accepts: the G-code
// profiles are run through LinuxCNC's interpreter, the conversational one is
// checked line by line.
#include <gtest/gtest.h>

#include <cstdlib>
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

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  return text;
}

TEST(DefaultProfiles, GCodeRunsInLinuxCNC) {
  if (std::system("command -v rs274 >/dev/null 2>&1") != 0) GTEST_SKIP() << "rs274 missing";
  for (int number : {1, 2, 3}) {
    const Job job = JobWithProfile(number);
    SCOPED_TRACE(job.profiles[static_cast<std::size_t>(number - 1)].Profil);
    TempDir dir;
    WriteBytes(dir.file("tool.tbl"), "T1 P1 D3.0 Z+0.0 ;\n");
    WriteBytes(dir.file("prog.ngc"), Joined(job.ncLines));
    const std::string cmd =
        "cd '" + dir.path() + "' && rs274 -g -t tool.tbl prog.ngc out.txt </dev/null >log.txt 2>&1";
    const int status = std::system(cmd.c_str());
    const std::string log = ReadBytes(dir.file("log.txt"));
    const std::string out = ReadBytes(dir.file("out.txt"));
    EXPECT_EQ(status, 0) << log << "\n" << Joined(job.ncLines);
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
    const std::string& line = job.ncLines[i];
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
  EXPECT_NE(Joined(job.ncLines).find(" L X+024.250 Y-010.250 R0 F400\n"), std::string::npos)
      << Joined(job.ncLines);
}

}  // namespace
}  // namespace korvane
