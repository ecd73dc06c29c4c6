#include "sim/ncgrafik_ui.h"

#include <QPaintEvent>

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
  batch_.reserve(4096);
}

void NCGrafik::setColours(const GraphicOptions& c) {
  const auto pen = [](const Rgb& colour, Qt::PenStyle style) {
    QPen p(ToQColor(colour), 0, style);  // cosmetic: one pixel wide
    return p;
  };
  pens_[int(PenKind::Axes)] = pen(c.axes, Qt::DashDotLine);
  pens_[int(PenKind::Stock)] = pen(c.stock, Qt::SolidLine);
  pens_[int(PenKind::Feed)] = pen(c.feed, Qt::SolidLine);
  pens_[int(PenKind::Rapid)] = pen(c.rapid, Qt::DotLine);
  background_ = ToQColor(c.background);
}

void NCGrafik::beginSurface() {
  if (painter_.isActive()) return;
  const QSize size = this->size().expandedTo(QSize(1, 1));
  if (image_.size() != size) image_ = QImage(size, QImage::Format_RGB32);
  view_.setSurfaceSize(width(), height());
  painter_.begin(&image_);
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  batch_.clear();
  lastValid_ = false;
}

void NCGrafik::endSurface() {
  if (!painter_.isActive()) return;
  flush();
  painter_.end();
}

void NCGrafik::ClearSurface() {
  batch_.clear();
  image_.fill(background_);
}

void NCGrafik::usePen(PenKind pen) { current_ = pen; }

void NCGrafik::flush() {
  if (batch_.empty()) return;
  painter_.setPen(pens_[int(batchPen_)]);
  painter_.drawLines(batch_.data(), static_cast<int>(batch_.size()));
  batch_.clear();
}

QPoint NCGrafik::project(const Point3& p) {
  const Pixel px = view_.Project(p.x, p.y, p.z);
  return {px.x, px.y};
}

void NCGrafik::MoveTo3D(long double x, long double y, long double z) {
  penAt_ = project({x, y, z});
}

void NCGrafik::LineTo3D(long double x, long double y, long double z) {
  const QPoint to = project({x, y, z});
  if (current_ != batchPen_) flush();
  batchPen_ = current_;
  batch_.emplace_back(penAt_, to);
  penAt_ = to;
}

void NCGrafik::Segment3D(long double x1, long double y1, long double z1, long double x2,
                         long double y2, long double z2) {
  if (current_ != batchPen_) flush();
  batchPen_ = current_;
  batch_.emplace_back(project({x1, y1, z1}), project({x2, y2, z2}));
}

void NCGrafik::placement(const Point3& at) {
  lastWorld_ = at;
  lastPixel_ = project(at);
  lastValid_ = true;
  penAt_ = lastPixel_;
}

void NCGrafik::addLine(PenKind pen, const Point3& from, const Point3& to) {
  const QPoint a = lastValid_ && from == lastWorld_ ? lastPixel_ : project(from);
  const QPoint b = project(to);
  lastWorld_ = to;
  lastPixel_ = b;
  lastValid_ = true;
  penAt_ = b;
  if (pen != batchPen_) flush();
  batchPen_ = pen;
  batch_.emplace_back(a, b);
  if (batch_.size() >= 65536) flush();
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
  view_.setSurfaceSize(image_.width(), image_.height());
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
  flush();
  hooks.processEvents();
  lastValid_ = false;
  const ReplayResult result = ReplayMoveList(list, interp_, hooks);
  endSurface();
  return result;
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
}

}  // namespace korvane
