// One drawing pass of the graphic view over the move list of a scanned
// surface (every segment its own path, so rapid and feed moves alternate)
// onto a 1200 x 800 off-screen surface, oblique view with axes and rapid
// moves shown. Compared in the same run with QPainter drawing the same
// projected lines in one batch per pen. Prints per size:
//   N lines: pass T ms, painting alone P ms, move list M MB
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/interpreter.h"
#include "sim/movelist.h"
#include "sim/ncgrafik_ui.h"

namespace {

using namespace korvane;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// Rows of short segments across 200 x 150 mm, one path per segment.
std::vector<std::string> ScanProgram(int segments) {
  const int rows = segments <= 100000 ? 500 : 2000;
  const int perRow = segments / rows;
  const long double dx = 200.0L / perRow, dy = 150.0L / rows;
  std::vector<std::string> lines;
  lines.reserve(2 * static_cast<size_t>(segments) + 1);
  lines.push_back(HeaderLine("5", "-1"));
  for (int r = 0; r < rows; ++r) {
    const long double y = -r * dy;
    for (int i = 0; i < perRow; ++i) {
      const long double x = i * dx;
      lines.push_back(RapidLine(x, y));
      lines.push_back(FeedLine(x + 0.6L * dx, y));
    }
  }
  return lines;
}

class NoHooks : public PassHooks {
 public:
  bool slowMode() override { return false; }
  int pausePerLine() override { return 0; }
  void delay(int) override {}
  void processEvents() override { QCoreApplication::processEvents(); }
};

// The projected lines of a pass, by pen.
class Collect : public MoveSink {
 public:
  explicit Collect(const View3D& v) : v_(v) {}
  void placement(const Point3&) override {}
  void rapid(const Point3& a, const Point3& b) override { rapid_.push_back(line(a, b)); }
  void feed(const Point3& a, const Point3& b) override { feed_.push_back(line(a, b)); }
  QLine line(const Point3& a, const Point3& b) const {
    const Pixel p = v_.Project(a.x, a.y, a.z), q = v_.Project(b.x, b.y, b.z);
    return {p.x, p.y, q.x, q.y};
  }
  const View3D& v_;
  std::vector<QLine> rapid_, feed_;
};

void Run(int segments) {
  const std::vector<std::string> text = ScanProgram(segments);
  const MoveList list{LineStore(text)};

  NCGrafik surface;
  surface.resize(1200, 800);
  GraphicOptions o;
  o.background = RgbOf(0);
  o.axes = RgbOf(65535);
  o.feed = RgbOf(65280);
  o.rapid = RgbOf(255);
  surface.setColours(o);
  surface.setShowRapid(true);
  View3D& v = surface.view();
  v.setSurfaceSize(1200, 800);
  ZoomAll(v, 0, 200, -150, 0);
  v.setYrotation(55);
  v.setZrotation(255);

  NoHooks hooks;
  double pass = 1e30;
  for (int i = 0; i < 5; ++i) {
    const auto t0 = Clock::now();
    const ReplayResult r = surface.drawPass(list, "", true, hooks);
    const auto t1 = Clock::now();
    if (!r.ok) std::fprintf(stderr, "pass failed: %s\n", r.error.c_str());
    pass = std::min(pass, Ms(t0, t1));
  }

  Collect lines(v);
  MoveInterpreter interp(lines);
  interp.reset();
  for (const MoveRecord& r : list.records()) interp.Paintway(r, list);
  QImage img(1200, 800, QImage::Format_RGB32);
  double painting = 1e30;
  for (int i = 0; i < 5; ++i) {
    img.fill(Qt::black);
    const auto t0 = Clock::now();
    QPainter p(&img);
    p.setPen(QPen(QColor(255, 0, 0), 0, Qt::DotLine));
    p.drawLines(lines.rapid_.data(), static_cast<int>(lines.rapid_.size()));
    p.setPen(QPen(QColor(0, 255, 0), 0, Qt::SolidLine));
    p.drawLines(lines.feed_.data(), static_cast<int>(lines.feed_.size()));
    p.end();
    const auto t1 = Clock::now();
    painting = std::min(painting, Ms(t0, t1));
  }
  std::printf("%zu lines: pass %.1f ms, painting alone %.1f ms, move list %.1f MB\n", list.size(),
              pass, painting, static_cast<double>(list.memoryBytes()) / 1e6);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Run(100000);
  Run(1000000);
  return 0;
}
