// korvane-cli's picture preparation end to end: each option gives what the
// picture operations give, in command-line order, before the conversion.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "image/decode.h"
#include "image/imageops.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

class CliPrepareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Photo-like noise with a few transparent pixels.
    source.resize(23, 17, 0);
    uint32_t seed = 4711;
    for (uint32_t& v : source.px) {
      seed = seed * 1664525u + 1013904223u;
      v = (seed & 7) == 0 ? (seed & 0x00FFFFFFu) : (seed | 0xFF000000u);
    }
    std::string err;
    ASSERT_TRUE(SavePictureBmp32(dir.file("pic.bmp"), source, err)) << err;
  }

  // Exit status of korvane-cli run on the fixture picture with `args`.
  int Run(const std::string& args) {
    const std::string cmd = std::string("'") + KORVANE_CLI + "' '" + dir.file("pic.bmp") +
                            "' --config '" + dir.file("config") + "' --quiet " + args + " 2>'" +
                            dir.file("stderr") + "' </dev/null >/dev/null";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }

  Picture Saved(const std::string& name) {
    Picture p;
    std::string err;
    EXPECT_TRUE(LoadPictureFile(dir.file(name), p, err)) << err;
    return p;
  }

  TempDir dir;
  Picture source;
};

void Turn(Picture& p, int quarterTurns) {
  Picture t;
  for (int i = 0; i < quarterTurns; ++i) {
    RotateRight(t, p);
    std::swap(t, p);
  }
}

TEST_F(CliPrepareTest, EachOptionGivesThePictureOperation) {
  const struct {
    const char* args;
    std::function<void(Picture&)> expected;
  } cases[] = {
      {"--brightness 30", [](Picture& p) { ApplyToneTable(p, BuildLevelsTable(30, 0, 0), p); }},
      {"--contrast -40 --gamma 100",
       [](Picture& p) { ApplyToneTable(p, BuildLevelsTable(0, -40, 100), p); }},
      {"--filter kanten --filter praegen",
       [](Picture& p) {
         Convolve3x3(KernelOf(FilterKind::Kanten), p);
         Convolve3x3(KernelOf(FilterKind::Praegen), p);
       }},
      {"--grey", [](Picture& p) { GreyImage(p); }},
      {"--invert", [](Picture& p) { InvertImage(p); }},
      {"--rotate 90", [](Picture& p) { Turn(p, 1); }},
      {"--rotate 270", [](Picture& p) { Turn(p, 3); }},
      {"--mirror lr", [](Picture& p) { MirrorLeftRight(p, p); }},
      {"--mirror tb", [](Picture& p) { MirrorTopBottom(p, p); }},
      {"--resize 40x12",
       [](Picture& p) {
         Picture r;
         ASSERT_TRUE(ResizeNearest(p, 40, 12, r));
         p = r;
       }},
      // Order as given; the three correction values make one table where the
      // first of them stands.
      {"--invert --brightness 20 --filter scharf --rotate 90 --gamma -50 --mirror tb "
       "--filter weich --contrast 10 --resize 10x33 --grey",
       [](Picture& p) {
         InvertImage(p);
         ApplyToneTable(p, BuildLevelsTable(20, 10, -50), p);
         Convolve3x3(KernelOf(FilterKind::Scharf), p);
         Turn(p, 1);
         MirrorTopBottom(p, p);
         Convolve3x3(KernelOf(FilterKind::Weich), p);
         Picture r;
         ASSERT_TRUE(ResizeNearest(p, 10, 33, r));
         p = r;
         GreyImage(p);
       }},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir.file("prepared.bmp"));
    ASSERT_EQ(Run(std::string(c.args) + " --save-picture '" + dir.file("prepared.bmp") + "'"), 0)
        << c.args << ": " << ReadBytes(dir.file("stderr"));
    Picture expected = source;
    c.expected(expected);
    EXPECT_EQ(Saved("prepared.bmp"), expected) << c.args;
  }
  // Without -o nothing else was written.
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.ngc")));
}

TEST_F(CliPrepareTest, ValuesOutOfRangeAreUsageErrors) {
  for (const char* args :
       {"--brightness 101", "--contrast -101", "--gamma 1.5", "--gamma", "--filter unscharf",
        "--rotate 45", "--rotate -90", "--mirror x", "--resize 9x500", "--resize 500x9",
        "--resize 20x", "--resize 20", "--resize 100000x100000", "--grey=1",
        "--invert"}) {  // the last has neither -o nor --save-picture
    const std::string output =
        std::string(args) == "--invert" ? "" : " -o '" + dir.file("x.ngc") + "'";
    EXPECT_EQ(Run(args + output), 2) << args;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("x.ngc")));
}

TEST_F(CliPrepareTest, ThePreparedPictureIsWhatGetsConverted) {
  // A rotated and inverted picture converted in one run gives the same
  // program as converting the picture saved by a preparation-only run; for a
  // black-and-white picture too, which a run without preparation traces in
  // its compact form.
  Picture blackWhite;
  blackWhite.resize(23, 17, kWhite);
  for (int y = 3; y < 12; ++y)
    for (int x = 2 + y / 3; x < 15; ++x) blackWhite.at(x, y) = kBlack;
  for (const Picture* picture : {&source, &blackWhite}) {
    SCOPED_TRACE(picture == &source ? "noise" : "black and white");
    std::string err;
    ASSERT_TRUE(SavePictureBmp32(dir.file("pic.bmp"), *picture, err)) << err;
    const std::string prepared = dir.file("prepared.bmp");
    ASSERT_EQ(Run("--rotate 90 --invert --save-picture '" + prepared + "' -o '" +
                  dir.file("a.ngc") + "'"),
              0)
        << ReadBytes(dir.file("stderr"));
    ASSERT_TRUE(std::filesystem::exists(prepared));
    const std::string cmd = std::string("'") + KORVANE_CLI + "' '" + prepared + "' --config '" +
                            dir.file("config") + "' --quiet -o '" + dir.file("b.ngc") +
                            "' 2>/dev/null </dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string a = ReadBytes(dir.file("a.ngc"));
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, ReadBytes(dir.file("b.ngc")));
    // Without the preparation the program differs.
    ASSERT_EQ(Run("-o '" + dir.file("c.ngc") + "'"), 0);
    EXPECT_NE(ReadBytes(dir.file("c.ngc")), a);
  }
}

}  // namespace
}  // namespace korvane
