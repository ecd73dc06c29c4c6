#include "image/picturesave.h"

#include <gtest/gtest.h>

#include "image_test_util.h"

namespace korvane {
namespace {

TEST(PictureSave, PrefilledNameGetsTheBitmapExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/u/photo.jpg", "/home/u/photo.bmp"},
      {"/home/u/photo.JPEG", "/home/u/photo.bmp"},
      {"/home/u/scan.bmp", "/home/u/scan.bmp"},
      {"/home/u.v/scan", "/home/u.v/scan.bmp"},
      {"/home/u/.hidden", "/home/u/.hidden.bmp"},
      {"a.b.c.png", "a.b.c.bmp"},
      {"", ""},
  };
  for (auto [in, out] : cases) EXPECT_EQ(PictureSaveFileName(in), out) << in;
}

TEST(PictureSave, TypedNamesAndTheOverwriteQuestion) {
  testutil::TempDir tmp;
  const std::string jpg = tmp.write("photo.jpg", {1, 2, 3});
  // A typed picture extension is kept; the existing JPEG needs the question.
  PictureSaveTarget t = PictureSaveTargetFor(jpg);
  EXPECT_EQ(t.path, jpg);
  EXPECT_TRUE(t.askOverwrite);
  t = PictureSaveTargetFor(tmp.file("new.png"));
  EXPECT_EQ(t.path, tmp.file("new.png"));
  EXPECT_FALSE(t.askOverwrite);
  // No extension: saved as a bitmap, asked about only when that exists.
  t = PictureSaveTargetFor(tmp.file("photo"));
  EXPECT_EQ(t.path, tmp.file("photo.bmp"));
  EXPECT_FALSE(t.askOverwrite);
  tmp.write("photo.bmp", {0});
  EXPECT_TRUE(PictureSaveTargetFor(tmp.file("photo")).askOverwrite);
}

}  // namespace
}  // namespace korvane
