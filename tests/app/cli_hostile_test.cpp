// korvane-cli against hostile input: option values beyond the dialogs'
// ranges, a picture without black, a FIFO as the picture, and a picture
// larger than the memory left.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/cliopts.h"
#include "asan_build.h"
#include "image/decode.h"
#include "support/tempdir.h"


namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

bool Parse(std::vector<const char*> args, std::string& error) {
  args.insert(args.begin(), "korvane-cli");
  CliOptions o;
  return ParseCliOptions(static_cast<int>(args.size()), args.data(), o, error);
}

TEST(CliHostile, ScaleAndDiameterKeepToTheDialogsRanges) {
  struct Case {
    const char* option;
    const char* value;
    bool accepted;
  };
  const Case cases[] = {
      {"--scale", "1e4000", false},     {"--scale", "1e-400", false},
      {"--scale", "1e-6", false},       {"--scale", "10000000", false},
      {"--scale", "inf", false},        {"--scale", "nan", false},
      {"--scale", "9999999", true},     {"--scale", "0.00001", true},
      {"--diameter", "1e4000", false},  {"--diameter", "10000000", false},
      {"--diameter", "nan", false},     {"--diameter", "9999999", true},
      {"--diameter", "0", true},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(Parse({"pic.bmp", "-o", "x", c.option, c.value}, error), c.accepted)
        << c.option << " " << c.value << ": " << error;
  }
}

struct CliRun {
  int status = -1;
  std::string err;
};

// `prefix` runs before the program in the same shell (a resource limit, say).
CliRun RunCli(const TempDir& dir, const std::string& args, const std::string& prefix = "") {
  const std::string cmd = prefix + " timeout 60 '" + std::string(KORVANE_CLI) + "' " + args +
                          " --config '" + dir.file("config") + "' >/dev/null 2>'" +
                          dir.file("stderr") + "' </dev/null";
  const int rc = std::system(("sh -c \"" + cmd + "\"").c_str());
  CliRun r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.err = ReadBytes(dir.file("stderr"));
  return r;
}

TEST(CliHostile, OutOfRangeScaleIsAUsageError) {
  TempDir dir;
  for (const char* args : {"--scale 1e4000", "--scale 1e-400", "--diameter 1e4000"}) {
    const CliRun r = RunCli(dir, "pic.bmp -o out.ngc " + std::string(args));
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("must be a number from"), std::string::npos) << r.err;
  }
}

TEST(CliHostile, PictureWithoutBlackSaysSoAndStillWritesTheProgram) {
  TempDir dir;
  Picture white;
  white.resize(20, 10, kWhite);
  std::string error;
  ASSERT_TRUE(SavePictureBmp32(dir.file("white.bmp"), white, error)) << error;
  const CliRun r =
      RunCli(dir, "'" + dir.file("white.bmp") + "' -o '" + dir.file("out.ngc") + "' --quiet");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("no black pixels"), std::string::npos) << r.err;
  EXPECT_FALSE(ReadBytes(dir.file("out.ngc")).empty());
}

TEST(CliHostile, FifoAsPictureIsRefusedAtOnce) {
  TempDir dir;
  const std::string fifo = dir.file("pipe.bmp");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const CliRun r = RunCli(dir, "'" + fifo + "' -o '" + dir.file("out.ngc") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, CannotOpenFileText(fifo) + "\n");
}

// A settings file that is a FIFO is reported and read as missing; the run goes on.
TEST(CliHostile, FifoAsSettingsFileIsReportedNotWaitedOn) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.file("config").c_str(), 0700), 0);
  const std::string fifo = dir.file("config/main.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Picture pic;
  pic.resize(20, 10, kWhite);
  pic.at(5, 5) = kBlack;
  std::string error;
  ASSERT_TRUE(SavePictureBmp32(dir.file("pic.bmp"), pic, error)) << error;
  const CliRun r = RunCli(dir, "'" + dir.file("pic.bmp") + "' --quiet -o '" + dir.file("out.ngc") + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "Datei " + fifo + " kann nicht geöffnet werden\n");
  EXPECT_FALSE(ReadBytes(dir.file("out.ngc")).empty());
}

// A small picture in `dir`, for the output tests.
std::string WritePicture(const TempDir& dir) {
  Picture pic;
  pic.resize(20, 10, kWhite);
  pic.at(5, 5) = kBlack;
  std::string error;
  EXPECT_TRUE(SavePictureBmp32(dir.file("pic.bmp"), pic, error)) << error;
  return dir.file("pic.bmp");
}

// One output that cannot be written leaves every other one unwritten.
TEST(CliHostile, OutputsAreWrittenAllOrNone) {
  TempDir dir;
  const std::string pic = WritePicture(dir);
  const std::string moves = dir.file("missing/moves.txt");
  CliRun r = RunCli(dir, "'" + pic + "' -o '" + dir.file("out.ngc") + "' --moves '" + moves + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, CannotCreateFileText(moves) + "\n");
  struct stat st {};
  EXPECT_NE(stat(dir.file("out.ngc").c_str(), &st), 0) << "program written although --moves failed";

  // A read-only program file is left as it was, and so is the move list.
  testing::WriteBytes(dir.file("old.ngc"), "old\n");
  ASSERT_EQ(chmod(dir.file("old.ngc").c_str(), 0444), 0);
  r = RunCli(dir, "'" + pic + "' -o '" + dir.file("old.ngc") + "' --moves '" + dir.file("m.txt") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, CannotCreateFileText(dir.file("old.ngc")) + "\n");
  EXPECT_EQ(ReadBytes(dir.file("old.ngc")), "old\n");
  EXPECT_NE(stat(dir.file("m.txt").c_str(), &st), 0);

  // The prepared picture and the export wait for the program as well.
  for (const std::string& first :
       {"--save-picture '" + dir.file("prepared.bmp") + "'", "--export '" + dir.file("c.svg") + "'"}) {
    r = RunCli(dir, "'" + pic + "' " + first + " -o '" + dir.file("missing/out.ngc") + "'");
    EXPECT_EQ(r.status, 1) << first;
    EXPECT_EQ(r.err, CannotCreateFileText(dir.file("missing/out.ngc")) + "\n") << first;
  }
  r = RunCli(dir, "'" + pic + "' -o '" + dir.file("out.ngc") + "' --export '" +
                      dir.file("missing/c.svg") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, CannotCreateFileText(dir.file("missing/c.svg")) + "\n");
  for (const char* name : {"prepared.bmp", "c.svg", "out.ngc"})
    EXPECT_NE(stat(dir.file(name).c_str(), &st), 0) << name << " written although another output failed";
  // Temporaries are named after their target plus a random suffix.
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = e.path().filename().string();
    for (const char* target : {"prepared.bmp.", "c.svg.", "out.ngc."})
      EXPECT_NE(name.rfind(target, 0), 0u) << "temporary left behind: " << name;
  }
}

// The picture is never overwritten by an output, whatever name reaches it.
TEST(CliHostile, OutputNamingThePictureIsRefused) {
  TempDir dir;
  const std::string pic = WritePicture(dir);
  const std::string before = ReadBytes(pic);
  ASSERT_EQ(symlink(pic.c_str(), dir.file("soft.bmp").c_str()), 0);
  ASSERT_EQ(link(pic.c_str(), dir.file("hard.bmp").c_str()), 0);
  const std::string out = "-o '" + dir.file("out.ngc") + "'";
  for (const std::string& args :
       {"-o '" + pic + "'", "-o '" + dir.file("soft.bmp") + "'", "-o '" + dir.file("hard.bmp") + "'",
        "-o '" + dir.path() + "/./pic.bmp'", out + " --moves '" + pic + "'",
        out + " --moves '" + dir.file("out.ngc") + "'", out + " --save-picture '" + pic + "'",
        "-o '" + dir.file("c.svg") + "' --export '" + dir.file("c.svg") + "'"}) {
    const CliRun r = RunCli(dir, "'" + pic + "' " + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("korvane-cli: the "), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadBytes(pic), before);
  struct stat st {};
  EXPECT_NE(stat(dir.file("out.ngc").c_str(), &st), 0);
}

// 64 bytes that describe a valid white picture of 16384 x 16384 pixels: under
// an address-space limit of 250 MB not even its one-byte-per-pixel form
// (268 MB) fits, which must end in a message and status 1, not an abort.
TEST(CliHostile, PictureLargerThanMemoryIsAMessage) {
#ifdef KORVANE_ASAN
  GTEST_SKIP() << "needs an address-space limit";
#endif
  TempDir dir;
  std::vector<uint8_t> b(14 + 40 + 8, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, 64);
  put32(10, 62);
  put32(14, 40);
  put32(18, 16384);
  put32(22, 16384);
  b[26] = 1;
  b[28] = 8;
  put32(30, 1);  // RLE8
  put32(46, 2);
  put32(54, 0x00FFFFFF);
  b.insert(b.end(), {0x00, 0x01});  // end of bitmap: all of it background
  const std::string path = dir.file("big.bmp");
  testing::WriteBytes(path, std::string(b.begin(), b.end()));
  const CliRun r = RunCli(dir, "'" + path + "' -o '" + dir.file("out.ngc") + "'", "ulimit -v 250000;");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Nicht genügend Speicher"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace korvane
