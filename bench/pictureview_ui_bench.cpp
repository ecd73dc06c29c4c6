// Painting the picture view: a 4096 x 4096 picture into a 1000 x 700 view,
// offscreen. Prints the median wall time of one paint at the fitted zoom
// (plain sampling, and the view's way: the reduced copy that keeps the marks,
// once made and then reused, and its making), at zoom 8 (only the visible
// source pixels are handed to the painter), and at zoom 8 when the whole
// scaled picture is handed over (what the view avoids).
// Modes alternate, because timings on a shared machine drift between runs.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "image/pictureview_ui.h"
#include "image/zoomedpicture_ui.h"
#include "base/picture.h"

namespace {

double PaintMs(const std::function<void(QPainter&)>& paint) {
  QImage target(1000, 700, QImage::Format_RGB32);
  const auto t0 = std::chrono::steady_clock::now();
  {
    QPainter p(&target);
    paint(p);
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  korvane::Picture pic;
  pic.resize(4096, 4096, korvane::kWhite);
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x)
      if (((x / 7) ^ (y / 5)) & 1) pic.at(x, y) = korvane::kBlack;
  const QRect clip(0, 0, 1000, 700);
  const float fit = std::min((1000.0f - 56) / 4096, (700.0f - 56) / 4096);
  const QPointF centre(100, 50);

  for (int i = 0; i < 4096; ++i) pic.at(1234, i) = korvane::kRed;
  std::vector<double> fitted, reducedMake, reducedPaint, visible, whole;
  korvane::ZoomedPicture zoomed;
  for (int round = 0; round < 7; ++round) {
    fitted.push_back(PaintMs([&](QPainter& p) {
      korvane::DrawPicture(p, pic, fit, {28, 28}, clip);
    }));
    zoomed.invalidate();
    reducedMake.push_back(PaintMs([&](QPainter& p) { zoomed.draw(p, pic, fit, {28, 28}, clip); }));
    reducedPaint.push_back(
        PaintMs([&](QPainter& p) { zoomed.draw(p, pic, fit, {28, 28}, clip); }));
    visible.push_back(
        PaintMs([&](QPainter& p) { korvane::DrawPicture(p, pic, 8.0f, centre, clip); }));
    whole.push_back(PaintMs([&](QPainter& p) {
      const QImage img(reinterpret_cast<const uchar*>(pic.px.data()), pic.width, pic.height,
                       pic.width * 4, QImage::Format_RGB32);
      p.drawImage(QRectF(centre.x(), centre.y(), pic.width * 8.0, pic.height * 8.0), img);
    }));
  }
  std::printf("picture view paint, 4096 x 4096 picture into 1000 x 700 (median of 7)\n");
  std::printf("  fitted zoom %.3f, sampled:     %8.2f ms\n", fit, Median(fitted));
  std::printf("  fitted, marks kept (reduce):   %8.2f ms\n", Median(reducedMake));
  std::printf("  fitted, marks kept (reused):   %8.2f ms\n", Median(reducedPaint));
  std::printf("  zoom 8, visible pixels only:   %8.2f ms\n", Median(visible));
  std::printf("  zoom 8, whole picture handed:  %8.2f ms\n", Median(whole));
  return 0;
}
