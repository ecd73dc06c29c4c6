#include "image/pictureview_ui.h"

#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "image/picture_file.h"

namespace korvane {

namespace {
const QColor kViewBackground(0, 23, 47);
constexpr float kMinZoom = 0.001f;
}  // namespace

void DrawPicture(QPainter& p, const Picture& pic, float zoom, QPointF origin, const QRect& clip) {
  if (pic.empty() || zoom <= 0) return;
  // Only the source pixels under the clip are handed to the painter, so a
  // large picture at a high zoom costs no more than the visible part.
  const double z = zoom;
  const int x0 =
      std::clamp(static_cast<int>(std::floor((clip.left() - origin.x()) / z)), 0, pic.width);
  const int y0 =
      std::clamp(static_cast<int>(std::floor((clip.top() - origin.y()) / z)), 0, pic.height);
  const int x1 =
      std::clamp(static_cast<int>(std::ceil((clip.right() + 1 - origin.x()) / z)), 0, pic.width);
  const int y1 =
      std::clamp(static_cast<int>(std::ceil((clip.bottom() + 1 - origin.y()) / z)), 0, pic.height);
  if (x1 <= x0 || y1 <= y0) return;
  // Alpha is not shown: pixels a file left transparent appear in their colour.
  const QImage img(reinterpret_cast<const uchar*>(pic.px.data()), pic.width, pic.height,
                   pic.width * 4, QImage::Format_RGB32);
  const QRectF target(origin.x() + x0 * z, origin.y() + y0 * z, (x1 - x0) * z, (y1 - y0) * z);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(target, img, QRectF(x0, y0, x1 - x0, y1 - y0));
}

PictureView::PictureView(const Picture& pic, QWidget* parent)
    : QAbstractScrollArea(parent), pic_(pic) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(true);
  QPalette pal = viewport()->palette();
  pal.setColor(QPalette::Window, kViewBackground);
  pal.setColor(QPalette::Base, kViewBackground);
  viewport()->setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);

  bwWarning_ = new QPushButton(QStringLiteral("!"), this);
  bwWarning_->setObjectName(QStringLiteral("BBWWarning"));
  bwWarning_->setToolTip(QStringLiteral("Das Bild ist nicht schwarz/weiss"));
  bwWarning_->setIcon(QIcon(QStringLiteral(":/icons/warning.svg")));
  bwWarning_->setText(QString());
  bwWarning_->setFixedSize(28, 28);
  bwWarning_->move(8, 8);
  bwWarning_->hide();
}

void PictureView::setZoom(float f) {
  zoom_ = std::max(f, kMinZoom);
  pictureChanged();
}

void PictureView::zoomIn() { setZoom(ZoomIn(zoom_)); }
void PictureView::zoomOut() { setZoom(ZoomOut(zoom_)); }

// The whole client area counts, so a fitted picture needs no scroll bars.
void PictureView::fitToView() {
  setZoom(FitZoom(width(), height(), pic_.width, pic_.height, zoom_));
}

void PictureView::pictureChanged() {
  zoomed_.invalidate();
  updateScrollBars();
  viewport()->update();
}

void PictureView::updateScrollBars() {
  const QSize vp = viewport()->size();
  const int w = static_cast<int>(std::ceil(pic_.width * static_cast<double>(zoom_)));
  const int h = static_cast<int>(std::ceil(pic_.height * static_cast<double>(zoom_)));
  horizontalScrollBar()->setRange(0, std::max(0, w - vp.width()));
  horizontalScrollBar()->setPageStep(vp.width());
  verticalScrollBar()->setRange(0, std::max(0, h - vp.height()));
  verticalScrollBar()->setPageStep(vp.height());
}

QPointF PictureView::origin() const {
  const QSize vp = viewport()->size();
  const double w = pic_.width * static_cast<double>(zoom_);
  const double h = pic_.height * static_cast<double>(zoom_);
  const double x = w < vp.width() ? (vp.width() - w) / 2 : -horizontalScrollBar()->value();
  const double y = h < vp.height() ? (vp.height() - h) / 2 : -verticalScrollBar()->value();
  return {std::floor(x), std::floor(y)};
}

void PictureView::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  zoomed_.draw(p, pic_, zoom_, origin(), e->rect());
}

void PictureView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  updateScrollBars();
}

void PictureView::wheelEvent(QWheelEvent* e) {
  setZoom(WheelZoom(zoom_, e->angleDelta().y()));
  e->accept();
}

PreviewView::PreviewView(const Picture& pic, std::function<float(int, int)> scale, QWidget* parent)
    : QWidget(parent), pic_(pic), scale_(std::move(scale)) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kViewBackground);
  setPalette(pal);
}

void PreviewView::paintEvent(QPaintEvent* e) {
  if (pic_.empty()) return;
  const float s = scale_(width(), height());
  if (!(s > 0)) return;
  const double w = pic_.width * static_cast<double>(s);
  const double h = pic_.height * static_cast<double>(s);
  QPainter p(this);
  DrawPicture(p, pic_, s, QPointF(std::floor((width() - w) / 2), std::floor((height() - h) / 2)),
              e->rect());
}

}  // namespace korvane
