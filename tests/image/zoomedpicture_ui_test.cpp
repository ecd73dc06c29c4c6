#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <cmath>

#include "image/pictureview_ui.h"
#include "base/picture.h"

namespace korvane {
namespace {

// A 4096 x 4096 scan with a one-pixel red column, a one-pixel dark green row
// and a black diagonal, fitted into an 800 x 600 view (zoom about 0.13).
class FittedScan : public ::testing::Test {
 protected:
  void SetUp() override {
    pic.resize(4096, 4096, kWhite);
    for (int i = 0; i < 4096; ++i) {
      pic.at(1234, i) = kRed;
      pic.at(i, 3001) = kDarkGreen;
      pic.at(i, i) = kBlack;
    }
    view.resize(800, 600);
    view.show();
    view.fitToView();
    ASSERT_LT(view.zoom(), 0.2f);
  }
  QImage shot() {
    QApplication::processEvents();
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  // Screen rows (columns) of the shot that hold the colour at least once.
  static int RowsWith(const QImage& img, QRgb c, bool columns = false) {
    int n = 0;
    const int outer = columns ? img.width() : img.height();
    const int inner = columns ? img.height() : img.width();
    for (int a = 0; a < outer; ++a) {
      bool found = false;
      for (int b = 0; b < inner && !found; ++b)
        found = (columns ? img.pixel(a, b) : img.pixel(b, a)) == c;
      n += found;
    }
    return n;
  }
  Picture pic;
  PictureView view{pic};
};

TEST_F(FittedScan, MarkedLinesStayUnbroken) {
  const QImage img = shot();
  const int side = static_cast<int>(std::ceil(4096 * static_cast<double>(view.zoom())));
  // The red column is red on every screen row of the picture and the green
  // row green on every column but the red one. The diagonal falls on the
  // screen diagonal and stays black there, but where the red column and the
  // green row cross it.
  EXPECT_EQ(RowsWith(img, qRgb(255, 0, 0)), side);
  EXPECT_EQ(RowsWith(img, qRgb(0, 127, 0), true), side - 1);
  EXPECT_EQ(RowsWith(img, qRgb(0, 0, 0)), side - 2);
  EXPECT_EQ(RowsWith(img, qRgb(0, 0, 0), true), side - 2);
}

TEST_F(FittedScan, AChangedPictureIsReducedAgain) {
  shot();
  for (int i = 0; i < 4096; ++i) pic.at(1234, i) = kWhite;
  view.pictureChanged();
  EXPECT_EQ(RowsWith(shot(), qRgb(255, 0, 0)), 0);
}

}  // namespace
}  // namespace korvane
