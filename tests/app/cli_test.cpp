// korvane-cli end to end: exit statuses, output files, and the G-code of the
// standard profile run through LinuxCNC's interpreter.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/convert.h"
#include "core/jobsettings.h"
#include "core/picturejob.h"
#include "core/parameters.h"
#include "core/job.h"
#include "base/numtext.h"
#include "image/blackwhite.h"
#include "image/decode.h"
#include "image/picture_file.h"
#include "ncout/outparams.h"
#include "settings/configdir.h"
#include "settings/settings.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

using testing::ReadBytes;
using testing::TempDir;


std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

struct CliRun {
  int status = -1;
  std::string err;
  std::string out;
};

CliRun RunCli(const TempDir& dir, const std::string& args) {
  std::string cmd = std::string("'") + KORVANE_CLI + "' " + args + " >'" + dir.file("stdout") +
                    "' 2>'" + dir.file("stderr") + "' </dev/null";
  int rc = std::system(cmd.c_str());
  CliRun r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = ReadBytes(dir.file("stdout"));
  r.err = ReadBytes(dir.file("stderr"));
  return r;
}

// A picture with grey pixels, so the threshold step runs too.
Picture TestPicture() {
  Picture p;
  p.resize(60, 40, kWhite);
  for (int y = 5; y < 20; ++y)
    for (int x = 4; x < 25; ++x) p.at(x, y) = kBlack;
  for (int y = 22; y < 36; ++y)
    for (int x = 30; x < 56; ++x)
      if ((x - 43) * (x - 43) + (y - 29) * (y - 29) < 40) p.at(x, y) = 0xFF202020;
  for (int x = 2; x < 58; ++x) p.at(x, 38) = 0xFFC0C0C0;  // light grey: thresholds to white
  return p;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string err;
    ASSERT_TRUE(SavePictureBmp32(dir.file("pic.bmp"), TestPicture(), err)) << err;
    config = dir.file("config");
  }
  std::string Args(const std::string& extra) const {
    return "'" + dir.file("pic.bmp") + "' -o '" + dir.file("out.ngc") + "' --config '" + config +
           "' " + extra;
  }
  TempDir dir;
  std::string config;
};

// The same sequence the CLI runs, in process: the file must hold exactly this.
Job ConvertInProcess(const std::string& picture, const std::string& config, long double scale) {
  Job job;
  FixedAnswers yes(true);
  NullProgress quiet;
  EXPECT_TRUE(EnsureConfigDir(config));
  StartSettings(job, config, ".", yes);
  std::string err;
  EXPECT_TRUE(OpenPictureFile(job, picture, err)) << err;
  job.scale = scale;
  ApplyCentreOffsets(job);
  struct Host : ConvertHost {
    Job& job;
    UserDialogs& ui;
    ProgressSink& p;
    Host(Job& j, UserDialogs& u, ProgressSink& pr) : job(j), ui(u), p(pr) {}
    bool runBlackWhite() override {
      ThresholdImage(job.working, 128);
      job.accepted = job.working;
      return true;
    }
    void runConversionDialog() override { StartRun(job, *this, ui, p); }
  } host(job, yes, quiet);
  ConvertInputs in;
  in.diameterEnabled = true;
  in.scaleText = FormatFixed(scale, 3);
  DoConvert(job, ConvertRequest::Command, in, host, yes, quiet);
  return job;
}

TEST_F(CliTest, WritesTheProgramAndMoveListOfTheCoreRun) {
  CliRun r = RunCli(dir, Args("--scale 0.5 --moves '" + dir.file("moves.txt") + "'"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("threshold 128"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("segments"), std::string::npos) << r.err;

  Job job = ConvertInProcess(dir.file("pic.bmp"), config, 0.5L);
  ASSERT_TRUE(job.contourAccepted);
  ASSERT_GT(job.segments.count(), 0);
  EXPECT_EQ(ReadBytes(dir.file("out.ngc")), job.ncLines.text());
  EXPECT_EQ(ReadBytes(dir.file("moves.txt")), job.moveList.text());
  // Nothing but the two outputs is left behind (no temporary files).
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"config", "moves.txt", "out.ngc", "pic.bmp",
                                             "stderr", "stdout"}));

  // Without a move list asked for, none is built, and the program is the same.
  fs::remove(dir.file("out.ngc"));
  ASSERT_EQ(RunCli(dir, Args("--scale 0.5")).status, 0);
  EXPECT_EQ(ReadBytes(dir.file("out.ngc")), job.ncLines.text());
}

TEST_F(CliTest, AnExistingEmptyConfigFolderGetsTheDefaults) {
  ASSERT_EQ(RunCli(dir, Args("--quiet")).status, 0);
  const std::string fromNewFolder = ReadBytes(dir.file("out.ngc"));
  ASSERT_FALSE(fromNewFolder.empty());
  config = dir.file("empty-config");
  fs::create_directories(config);
  CliRun r = RunCli(dir, Args("--quiet"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir.file("out.ngc")), fromNewFolder);
  EXPECT_TRUE(fs::exists(config + "/main.ini"));
}

TEST_F(CliTest, HelpNamesTheProjectVersion) {
  CliRun r = RunCli(dir, "--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind(std::string("korvane-cli ") + KORVANE_VERSION + "\n", 0), 0u) << r.out;
}

TEST_F(CliTest, ProfileOriginAndQuietChangeTheOutput) {
  ASSERT_EQ(RunCli(dir, Args("--quiet")).status, 0);
  std::string centre = ReadBytes(dir.file("out.ngc"));
  CliRun r = RunCli(dir, Args("--quiet --origin top-left --profile 2"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::string numbered = ReadBytes(dir.file("out.ngc"));
  EXPECT_NE(centre, numbered);
  // Profile 2 numbers its blocks; top-left origin puts every Y at or below 0.
  EXPECT_NE(numbered.find("\nN20 "), std::string::npos);
  EXPECT_EQ(numbered.find("Y1"), std::string::npos);
}

TEST_F(CliTest, ErrorsGiveTheirStatusAndLeaveNoOutput) {
  std::ofstream(dir.file("junk.bmp")) << "BM this is not a bitmap";
  std::ofstream(dir.file("out.ngc")) << "keep me\n";
  struct Case {
    std::string args;
    int status;
    std::string errPart;
  };
  const std::vector<Case> cases = {
      {"'" + dir.file("missing.bmp") + "' -o '" + dir.file("out.ngc") + "'", 1,
       "kann nicht geöffnet werden"},
      {"'" + dir.file("junk.bmp") + "' -o '" + dir.file("out.ngc") + "'", 1, ""},
      {Args("--contour inside"), 2, "Usage:"},
      {Args("--profile 'No such profile'"), 2, "Usage:"},
      {"'" + dir.file("pic.bmp") + "'", 2, "Usage:"},
      {Args("--scale abc"), 2, "Usage:"},
  };
  for (const Case& c : cases) {
    CliRun r = RunCli(dir, c.args + " --config '" + config + "'");
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.errPart), std::string::npos) << c.args << "\n" << r.err;
    EXPECT_EQ(ReadBytes(dir.file("out.ngc")), "keep me\n") << c.args;
  }
  EXPECT_EQ(RunCli(dir, "--help").status, 0);
}

// Motion end points (X, Y) in the order the interpreter runs them; repeated
// points (a plunge or retract in place) count once.
std::vector<std::pair<double, double>> InterpreterPath(const std::string& canon) {
  std::vector<std::pair<double, double>> path;
  std::regex move(R"(STRAIGHT_(TRAVERSE|FEED)\(([-0-9.]+), ([-0-9.]+),)");
  for (const std::string& l : Lines(canon)) {
    std::smatch m;
    if (!std::regex_search(l, m, move)) continue;
    std::pair<double, double> p{std::stod(m[2]), std::stod(m[3])};
    if (path.empty() || path.back() != p) path.push_back(p);
  }
  return path;
}

std::vector<std::pair<double, double>> MoveListPath(const std::vector<std::string>& moves) {
  std::vector<std::pair<double, double>> path;
  for (const std::string& l : moves) {
    if (l.rfind("8;", 0) == 0) continue;
    auto a = l.find(';'), b = l.find(';', a + 1);
    std::pair<double, double> p{std::stod(l.substr(a + 1, b - a - 1)), std::stod(l.substr(b + 1))};
    if (path.empty() || path.back() != p) path.push_back(p);
  }
  return path;
}

TEST_F(CliTest, StandardProfileRunsInLinuxCncWithTheMovesOfTheMoveList) {
  if (std::system("command -v rs274 >/dev/null 2>&1") != 0) {
    if (std::getenv("CI")) FAIL() << "rs274 (linuxcnc-uspace) is missing";
    GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed";
  }
  std::string sample = std::string(KORVANE_SOURCE_DIR) + "/samples/korvane-sample.bmp";
  CliRun r = RunCli(dir, "'" + sample + "' -o '" + dir.file("prog.ngc") + "' --config '" + config +
                          "' --scale 0.25 --moves '" + dir.file("moves.txt") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  std::ofstream(dir.file("tool.tbl")) << "T1 P1 D3.0 Z+0.0 ;\n";
  std::string cmd = "cd '" + dir.path() +
                    "' && rs274 -g -t tool.tbl prog.ngc canon.txt </dev/null >log.txt 2>&1";
  int rc = std::system(cmd.c_str());
  std::string log = ReadBytes(dir.file("log.txt"));
  ASSERT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << log;
  std::string canon = ReadBytes(dir.file("canon.txt"));
  EXPECT_NE(canon.find("PROGRAM_END"), std::string::npos);

  auto interp = InterpreterPath(canon);
  auto expected = MoveListPath(Lines(ReadBytes(dir.file("moves.txt"))));
  ASSERT_GT(expected.size(), 100u);
  // The interpreter starts at the origin before the first approach.
  if (!interp.empty() && interp.front() == std::make_pair(0.0, 0.0) &&
      expected.front() != interp.front())
    interp.erase(interp.begin());
  ASSERT_EQ(interp.size(), expected.size());
  for (size_t i = 0; i < interp.size(); ++i) {
    EXPECT_NEAR(interp[i].first, expected[i].first, 0.0006) << i;
    EXPECT_NEAR(interp[i].second, expected[i].second, 0.0006) << i;
  }
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

long double Figure(const std::string& text, const std::string& label, int which) {
  std::smatch m;
  std::regex re(label + R"( ([0-9.]+) -> ([0-9.]+))");
  if (!std::regex_search(text, m, re)) return -1;
  return std::stold(m[which].str());
}

TEST_F(CliTest, ContourTypesAndPostProcessing) {
  std::vector<std::string> programs;
  for (const char* type : {"outline", "centreline", "scan", "scan-negative"}) {
    CliRun r = RunCli(dir, Args(std::string("--contour ") + type + " --diameter 2"));
    ASSERT_EQ(r.status, 0) << type << "\n" << r.err;
    programs.push_back(ReadBytes(dir.file("out.ngc")));
    for (size_t i = 0; i + 1 < programs.size(); ++i) EXPECT_NE(programs[i], programs.back()) << type;
  }

  CliRun follow = RunCli(dir, Args("--contour centreline --follow-lines"));
  ASSERT_EQ(follow.status, 0) << follow.err;
  long double before = Figure(follow.err, "line following", 1);
  long double after = Figure(follow.err, "line following", 2);
  ASSERT_GT(before, 0) << follow.err;
  EXPECT_LE(after, before);

  for (const char* extra : {"--optimise", "--optimise --no-reverse"}) {
    CliRun opt = RunCli(dir, Args(std::string("--contour outline ") + extra));
    ASSERT_EQ(opt.status, 0) << opt.err;
    long double b = Figure(opt.err, "path", 1), a = Figure(opt.err, "path", 2);
    ASSERT_GT(b, 0) << opt.err;
    EXPECT_LT(a, b) << extra;
  }
}

}  // namespace
}  // namespace korvane
