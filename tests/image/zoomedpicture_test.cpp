#include "image/zoomedpicture.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane {
namespace {

constexpr uint32_t kGrey1 = 0xFF808080u;
constexpr uint32_t kGrey2 = 0xFF404040u;

TEST(ReduceKeepingMarks, ABlockShowsItsMostSignificantColour) {
  // A 2 x 2 block, listed row by row, shrunk to one pixel.
  const struct {
    std::vector<uint32_t> block;
    uint32_t want;
  } cases[] = {
      {{kWhite, kWhite, kWhite, kWhite}, kWhite},
      {{kWhite, kBlack, kWhite, kWhite}, kBlack},
      {{kBlack, kWhite, kWhite, kRed}, kRed},
      {{kDarkGreen, kBlack, kBlack, kWhite}, kDarkGreen},
      {{kDarkGreen, kWhite, kRed, kWhite}, kRed},
      // Other colours keep the block's centre pixel, here the bottom right.
      {{kGrey1, kWhite, kWhite, kGrey2}, kGrey2},
      {{kGrey1, kBlack, kGrey1, kGrey1}, kBlack},
  };
  for (const auto& c : cases) {
    Picture pic;
    pic.resize(2, 2, kWhite);
    pic.px = c.block;
    uint32_t out = 0;
    ReduceKeepingMarks(pic, 1, 1, &out);
    EXPECT_EQ(out, c.want) << std::hex << c.block[0] << " " << c.block[1] << " " << c.block[2]
                           << " " << c.block[3];
  }
}

TEST(ReduceKeepingMarks, BlocksTileThePictureWithoutGaps) {
  // 7 columns onto 3: blocks [0, 2), [2, 4), [4, 7); rows the same way.
  const int want[7] = {0, 0, 1, 1, 2, 2, 2};
  for (int i = 0; i < 7; ++i) {
    Picture pic;
    pic.resize(7, 7, kWhite);
    pic.at(i, 6 - i) = kRed;
    std::vector<uint32_t> out(9, 0);
    ReduceKeepingMarks(pic, 3, 3, out.data());
    for (int ty = 0; ty < 3; ++ty) {
      for (int tx = 0; tx < 3; ++tx) {
        const bool red = tx == want[i] && ty == want[6 - i];
        EXPECT_EQ(out[static_cast<size_t>(ty * 3 + tx)], red ? kRed : kWhite)
            << "source " << i << "," << 6 - i << " target " << tx << "," << ty;
      }
    }
  }
}

TEST(ReduceKeepingMarks, RefusesSizesItCannotFill) {
  Picture pic;
  pic.resize(4, 4, kBlack);
  std::vector<uint32_t> out(25, 7);
  ReduceKeepingMarks(pic, 5, 5, out.data());  // larger than the picture
  ReduceKeepingMarks(pic, 0, 2, out.data());
  ReduceKeepingMarks(Picture{}, 1, 1, out.data());
  for (uint32_t v : out) EXPECT_EQ(v, 7u);
  ReduceKeepingMarks(pic, 4, 4, out.data());  // 1:1 is a copy
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(out[i], kBlack);
}

}  // namespace
}  // namespace korvane
