#include "core/picturejob.h"

#include <gtest/gtest.h>

#include "base/interaction.h"
#include "core/batch.h"
#include "core/jobsettings.h"
#include "image/decode.h"
#include "settings/configdir.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::TempDir;

// A ring (a blob with a hole) touching the left edge, a bar and a single
// pixel in the last row.
Picture BlackWhitePicture() {
  Picture p;
  p.resize(40, 30, kWhite);
  for (int y = 2; y < 20; ++y)
    for (int x = 0; x < 18; ++x)
      if ((x - 8) * (x - 8) + (y - 11) * (y - 11) < 64 && (x - 8) * (x - 8) + (y - 11) * (y - 11) > 9)
        p.at(x, y) = kBlack;
  for (int x = 22; x < 38; ++x) p.at(x, 24) = kBlack;
  p.at(30, 29) = kBlack;
  return p;
}

Job RunFromFile(const std::string& picture, const std::string& config, bool compact,
                ContourType type) {
  Job job;
  FixedAnswers yes(true);
  NullProgress quiet;
  StartSettings(job, config, ".", yes);
  std::string err;
  EXPECT_TRUE(compact ? OpenPictureCompact(job, picture, err) : OpenPictureFile(job, picture, err))
      << err;
  BatchOptions options;
  options.contour = type;
  options.followLines = true;
  options.optimise = true;
  EXPECT_EQ(RunBatch(job, options, yes, quiet).outcome, BatchResult::Outcome::Done);
  return job;
}

TEST(OpenPictureCompact, TracesToTheSameProgramWithoutThePictureCopies) {
  TempDir dir;
  const std::string config = dir.file("config");
  ASSERT_TRUE(EnsureConfigDir(config));

  Picture lastColumnGrey = BlackWhitePicture();  // the black-and-white test skips the last column
  lastColumnGrey.at(39, 10) = 0xFF808080;
  Picture grey = BlackWhitePicture();
  grey.at(25, 10) = 0xFF303030;
  struct Case {
    const char* name;
    Picture picture;
    bool staysCompact;
  } cases[] = {{"black and white", BlackWhitePicture(), true},
               {"grey in the last column", lastColumnGrey, true},
               {"grey inside", grey, false}};

  for (const Case& c : cases) {
    const std::string file = dir.file("pic.bmp");
    std::string err;
    ASSERT_TRUE(SavePictureBmp32(file, c.picture, err)) << err;
    for (ContourType type : {ContourType::Outline, ContourType::CentreLine}) {
      SCOPED_TRACE(std::string(c.name) + (type == ContourType::Outline ? ", outline" : ", centre"));
      const Job plain = RunFromFile(file, config, false, type);
      const Job lean = RunFromFile(file, config, true, type);
      EXPECT_FALSE(plain.ncLines.empty());
      EXPECT_EQ(lean.ncLines, plain.ncLines);
      EXPECT_EQ(lean.moveList, plain.moveList);
      EXPECT_EQ(lean.compact.empty(), !c.staysCompact);
      if (c.staysCompact) {
        EXPECT_TRUE(lean.working.px.empty());
        EXPECT_TRUE(lean.accepted.px.empty());
        EXPECT_TRUE(lean.backup.px.empty());
        // After the accepted run the size is the framed one, as on the full path.
        EXPECT_EQ(lean.working.width, plain.working.width);
        EXPECT_EQ(lean.working.height, plain.working.height);
        EXPECT_EQ(lean.working.width, 42);
      } else {
        EXPECT_EQ(lean.working, plain.working);
      }
    }
  }
}

TEST(OpenPictureCompact, AFileThatCannotBeReadLeavesTheJobAsItWas) {
  TempDir dir;
  Job job;
  job.xOffsetText = "7";
  std::string err;
  EXPECT_FALSE(OpenPictureCompact(job, dir.write("bad.bmp", {'B', 'M', 1, 2}), err));
  EXPECT_FALSE(err.empty());
  EXPECT_TRUE(job.compact.empty());
  EXPECT_EQ(job.xOffsetText, "7");
}

}  // namespace
}  // namespace korvane
