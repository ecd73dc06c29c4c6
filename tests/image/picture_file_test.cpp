// Opening a picture into the job, the dialogs' file-type list, zoom steps.
#include "image/picture_file.h"
#include "core/picturejob.h"

#include "core/job.h"
#include "image/blackwhite.h"
#include "image/image_test_util.h"

namespace korvane {
namespace {

using testutil::BmpSpec;
using testutil::WriteBmp;

// A job in the state a finished run leaves behind.
Job UsedJob() {
  Job job;
  job.scale = 0.25L;
  job.xOffsetText = "12.5";
  job.yOffsetText = "-3";
  job.lineSpacing = 2.5L;
  job.segments.append(0, 0, 5, 5);
  job.segments.append(5, 5, 9, 1);
  job.moveList = {"8;0;5.000;-1.000", "0;0.000;0.000"};
  job.ncLines = {"N10 G0 X0 Y0"};
  job.contourAccepted = true;
  job.backupValid = true;
  job.graphicViewPending = false;
  job.working.resize(3, 3, kDarkGreen);
  job.accepted.resize(3, 3, kWhite);
  job.backup.resize(2, 2, kBlack);
  return job;
}

TEST(OpenPicture, ResetsTheJobAndFillsBothImages) {
  testutil::TempDir dir;
  BmpSpec s;  // 24 bits, pure black and white
  std::vector<uint32_t> px(6 * 4, 0xFFFFFF);
  px[7] = 0;
  const std::string path = dir.write("bild.bmp", WriteBmp(s, 6, 4, px));
  Job job = UsedJob();
  const Picture backup = job.backup;
  std::string error;
  ASSERT_TRUE(OpenPictureFile(job, path, error)) << error;
  EXPECT_EQ(job.accepted.width, 6);
  EXPECT_EQ(job.accepted.at(1, 1), kBlack);
  EXPECT_EQ(job.working, job.accepted);
  EXPECT_EQ(job.backup, backup) << "the backup picture keeps what it held";
  EXPECT_EQ(job.scale, 1.0L);
  EXPECT_EQ(job.xOffsetText, "0.0");
  EXPECT_EQ(job.yOffsetText, "0.0");
  EXPECT_EQ(job.lineSpacing, 1.0L);
  EXPECT_EQ(job.segments.count(), 0);
  EXPECT_TRUE(job.moveList.empty());
  EXPECT_TRUE(job.ncLines.empty());
  EXPECT_FALSE(job.contourAccepted);
  EXPECT_FALSE(job.backupValid);
  EXPECT_TRUE(job.graphicViewPending);
  EXPECT_TRUE(job.pictureChanged);
  EXPECT_TRUE(IsBlackWhite(job.working)) << "24-bit black and white passes after opening";
}

TEST(OpenPicture, ZeroAlphaBytesOfA32BitBitmapFailTheTest) {
  testutil::TempDir dir;
  BmpSpec s;
  s.bpp = 32;
  std::vector<uint32_t> px(4 * 4, 0x00FFFFFF);
  px[5] = 0x00000000;
  const std::string path = dir.write("alpha0.bmp", WriteBmp(s, 4, 4, px));
  Job job;
  std::string error;
  ASSERT_TRUE(OpenPictureFile(job, path, error)) << error;
  EXPECT_EQ(job.working.at(0, 0), 0x00FFFFFFu);
  EXPECT_FALSE(IsBlackWhite(job.working));
}

TEST(OpenPicture, FailureLeavesEverythingAsItWas) {
  testutil::TempDir dir;
  const std::string path = dir.write("kaputt.bmp", {'B', 'M', 1, 2, 3});
  Job job = UsedJob();
  std::string error;
  EXPECT_FALSE(OpenPictureFile(job, path, error));
  EXPECT_EQ(error, "Bitmap ist ungültig");
  const Job untouched = UsedJob();
  EXPECT_EQ(job.working, untouched.working);
  EXPECT_EQ(job.accepted, untouched.accepted);
  EXPECT_EQ(job.scale, untouched.scale);
  EXPECT_EQ(job.xOffsetText, untouched.xOffsetText);
  EXPECT_EQ(job.segments.count(), 2);
  EXPECT_EQ(job.moveList, untouched.moveList);
  EXPECT_EQ(job.ncLines, untouched.ncLines);
  EXPECT_TRUE(job.contourAccepted);
  EXPECT_TRUE(job.backupValid);
  EXPECT_FALSE(job.graphicViewPending);
}

TEST(PictureFileFilters, AllFirstThenOneEntryPerExtension) {
  const std::vector<PictureFileFilter> f = PictureFileFilters();
  std::vector<std::string> texts;
  for (const auto& e : f) texts.push_back(e.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Alle (*.jpg;*.jpeg;*.bmp;*.png;*.ico;*.emf;*.wmf)",
                       "JPEG-Grafikdatei (*.jpg)", "JPEG-Grafikdatei (*.jpeg)", "Bitmaps (*.bmp)",
                       "PNG-Grafikdatei (*.png)", "Symbole (*.ico)",
                       "Erweiterte Metadateien (*.emf)", "Metadateien (*.wmf)"}));
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.jpg", "*.jpeg", "*.bmp", "*.png", "*.ico",
                                                     "*.emf", "*.wmf"}));
  EXPECT_EQ(f[3].patterns, (std::vector<std::string>{"*.bmp"}));
  EXPECT_EQ(FileExtension("/a.b/bild.JPG"), "JPG");
  EXPECT_EQ(FileExtension("/a.b/bild"), "");
}

TEST(Zoom, FitStepsAndFloor) {
  EXPECT_FLOAT_EQ(FitZoom(856, 536, 640, 480, 2.0f), 1.0f);  // min(800/640, 480/480)
  EXPECT_FLOAT_EQ(FitZoom(856, 536, 100, 480, 2.0f), 1.0f);
  EXPECT_FLOAT_EQ(FitZoom(856, 536, 400, 100, 2.0f), 2.0f);  // a = 2 < b = 4.8
  EXPECT_FLOAT_EQ(FitZoom(856, 536, 0, 0, 2.0f), 2.0f) << "no picture: nothing changes";
  EXPECT_FLOAT_EQ(FitZoom(40, 40, 10, 10, 2.0f), 0.001f);
  float f = 1.0f;
  for (int i = 0; i < 3; ++i) f = ZoomIn(f);
  EXPECT_NEAR(f, 1.331f, 1e-5f);
  EXPECT_NEAR(ZoomOut(ZoomIn(1.0f)), 0.99f, 1e-6f);
  EXPECT_FLOAT_EQ(ZoomOut(0.001f), 0.001f);
  EXPECT_FLOAT_EQ(WheelZoom(1.0f, 120), 1.1f);
  EXPECT_FLOAT_EQ(WheelZoom(1.0f, 0), 0.9f);
  EXPECT_FLOAT_EQ(WheelZoom(1.0f, -120), 0.9f);
}

}  // namespace
}  // namespace korvane
