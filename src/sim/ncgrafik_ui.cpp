#include "sim/ncgrafik_ui.h"

#include <QPaintEvent>
#include <QPainter>

static void InitSimIconResource() { Q_INIT_RESOURCE(sim_icons); }

namespace korvane {

void EnsureSimIcons() {
  static const bool done = (InitSimIconResource(), true);
  (void)done;
}

QColor ToQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

NCGrafik::NCGrafik(QWidget* parent) : QWidget(parent), interp_(*this) {
  setObjectName("NCGrafik");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setColours(GraphicOptions{});
}

void NCGrafik::setColours(const GraphicOptions& c) {
  const auto pen = [](const Rgb& colour, LineStyle style) {
    return Pen{0xFF000000u | uint32_t(colour.r) << 16 | uint32_t(colour.g) << 8 | colour.b, style};
  };
  pens_[int(PenKind::Axes)] = pen(c.axes, LineStyle::DashDot);
  pens_[int(PenKind::Stock)] = pen(c.stock, LineStyle::Solid);
  pens_[int(PenKind::Feed)] = pen(c.feed, LineStyle::Solid);
  pens_[int(PenKind::Rapid)] = pen(c.rapid, LineStyle::Dot);
  background_ = ToQColor(c.background);
}

void NCGrafik::beginSurface() {
  const QSize size = this->size().expandedTo(QSize(1, 1));
  if (image_.size() != size) image_ = QImage(size, QImage::Format_RGB32);
  target_ = {reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
             static_cast<int>(image_.bytesPerLine() / 4)};
  view_.setSurfaceSize(image_.width(), image_.height());
  lastValid_ = false;
}

void NCGrafik::ClearSurface() { image_.fill(background_); }

void NCGrafik::usePen(PenKind pen) { current_ = pen; }

Pixel NCGrafik::project(const Point3& p) const { return view_.Project(p.x, p.y, p.z); }

void NCGrafik::line(PenKind pen, Pixel a, Pixel b) {
  const Pen& p = pens_[int(pen)];
  RasterLine(target_, a.x, a.y, b.x, b.y, p.colour, p.style);
}

void NCGrafik::MoveTo3D(long double x, long double y, long double z) {
  penAt_ = project({x, y, z});
}

void NCGrafik::LineTo3D(long double x, long double y, long double z) {
  const Pixel to = project({x, y, z});
  line(current_, penAt_, to);
  penAt_ = to;
}

void NCGrafik::Segment3D(long double x1, long double y1, long double z1, long double x2,
                         long double y2, long double z2) {
  line(current_, project({x1, y1, z1}), project({x2, y2, z2}));
}

void NCGrafik::placement(const Point3& at) {
  lastWorld_ = at;
  lastPixel_ = project(at);
  lastValid_ = true;
  penAt_ = lastPixel_;
}

void NCGrafik::addLine(PenKind pen, const Point3& from, const Point3& to) {
  const Pixel a = lastValid_ && from == lastWorld_ ? lastPixel_ : project(from);
  const Pixel b = project(to);
  lastWorld_ = to;
  lastPixel_ = b;
  lastValid_ = true;
  penAt_ = b;
  line(pen, a, b);
}

void NCGrafik::rapid(const Point3& from, const Point3& to) {
  if (showRapid_) {
    addLine(PenKind::Rapid, from, to);
  } else {
    placement(to);
  }
}

void NCGrafik::feed(const Point3& from, const Point3& to) { addLine(PenKind::Feed, from, to); }

ReplayResult NCGrafik::drawPass(const MoveList& list, const std::string& stock, bool axes,
                                PassHooks& hooks) {
  interp_.reset();
  beginSurface();
  ClearSurface();
  if (axes) {
    usePen(PenKind::Axes);
    Segment3D(-100, 0, 0, 100, 0, 0);
    Segment3D(0, 100, 0, 0, -100, 0);
    Segment3D(0, 0, 100, 0, 0, -100);
  }
  MoveTo3D(0, 0, 0);
  if (!stock.empty()) {
    usePen(PenKind::Stock);
    Drawblank(stock, *this);
  }
  hooks.processEvents();
  lastValid_ = false;
  return ReplayMoveList(list, interp_, hooks);
}

void NCGrafik::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  if (image_.isNull()) {
    p.fillRect(e->rect(), background_);
    return;
  }
  p.drawImage(e->rect().topLeft(), image_, e->rect());
  // Beyond the picture (the widget grew since the last pass).
  if (width() > image_.width()) p.fillRect(image_.width(), 0, width() - image_.width(), height(), background_);
  if (height() > image_.height()) p.fillRect(0, image_.height(), width(), height() - image_.height(), background_);
  if (markOn_) {
    const Pixel a = project(markFrom_), b = project(markTo_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 0, 255), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a.x, a.y, b.x, b.y);
    p.setPen(QPen(QColor(255, 0, 255), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(b.x, b.y), 5, 5);
  }
}

void NCGrafik::setMark(const Point3& from, const Point3& to) {
  markFrom_ = from;
  markTo_ = to;
  markOn_ = true;
  update();
}

void NCGrafik::clearMark() {
  if (!markOn_) return;
  markOn_ = false;
  update();
}

}  // namespace korvane
