#include "app/cliopts.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane {
namespace {

bool Parse(std::vector<const char*> args, CliOptions& opt, std::string& err) {
  args.insert(args.begin(), "korvane-cli");
  return ParseCliOptions(static_cast<int>(args.size()), args.data(), opt, err);
}

TEST(CliOptions, ReadsEveryOption) {
  CliOptions o;
  std::string err;
  ASSERT_TRUE(Parse({"pic.bmp", "-o", "out.ngc", "--contour", "scan-negative", "--threshold=90",
                     "--profile", "2", "--scale", " 0.25 ", "--origin", "bottom-right",
                     "--config", "/tmp/c", "--moves", "m.txt", "--quiet", "--diameter", "3",
                     "--follow-lines", "--optimise", "--no-reverse"},
                    o, err))
      << err;
  EXPECT_EQ(o.picture, "pic.bmp");
  EXPECT_EQ(o.output, "out.ngc");
  EXPECT_EQ(o.contour, ContourType::ScanNegative);
  EXPECT_EQ(o.threshold, 90);
  EXPECT_EQ(o.profile, "2");
  EXPECT_EQ(o.scale, 0.25L);
  EXPECT_EQ(o.origin, Origin::BottomRight);
  EXPECT_EQ(o.configDir, "/tmp/c");
  EXPECT_EQ(o.moves, "m.txt");
  EXPECT_TRUE(o.quiet && o.followLines && o.optimise && o.noReverse);
  ASSERT_TRUE(o.diameter.has_value());
  EXPECT_EQ(*o.diameter, 3.0L);
}

TEST(CliOptions, DefaultsMatchTheDesktopProgram) {
  CliOptions o;
  std::string err;
  ASSERT_TRUE(Parse({"pic.bmp", "-o", "out.ngc"}, o, err));
  EXPECT_EQ(o.contour, ContourType::Outline);
  EXPECT_EQ(o.threshold, 128);
  EXPECT_EQ(o.scale, 1.0L);
  EXPECT_EQ(o.origin, Origin::Centre);
  EXPECT_TRUE(o.profile.empty());
}

TEST(CliOptions, RejectsBadUsage) {
  const std::vector<std::vector<const char*>> bad = {
      {},
      {"pic.bmp"},
      {"-o", "out.ngc"},
      {"pic.bmp", "-o"},
      {"a.bmp", "b.bmp", "-o", "x"},
      {"pic.bmp", "-o", "x", "--contour", "inside"},
      {"pic.bmp", "-o", "x", "--threshold", "256"},
      {"pic.bmp", "-o", "x", "--threshold", "12a"},
      {"pic.bmp", "-o", "x", "--scale", "0"},
      {"pic.bmp", "-o", "x", "--scale", "1,5"},
      {"pic.bmp", "-o", "x", "--origin", "middle"},
      {"pic.bmp", "-o", "x", "--diameter", "-1"},
      {"pic.bmp", "-o", "x", "--no-reverse"},
      {"pic.bmp", "-o", "x", "--quiet=1"},
      {"pic.bmp", "-o", "x", "--frobnicate"},
  };
  for (const auto& args : bad) {
    CliOptions o;
    std::string err;
    EXPECT_FALSE(Parse(args, o, err)) << (args.empty() ? "(none)" : args.back());
  }
}

TEST(CliOptions, HelpWins) {
  CliOptions o;
  std::string err;
  ASSERT_TRUE(Parse({"--help"}, o, err));
  EXPECT_TRUE(o.help);
}

}  // namespace
}  // namespace korvane
