#include "image/zoomedpicture_ui.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "image/pictureview_ui.h"
#include "image/zoomedpicture.h"

namespace korvane {

QSize ZoomedPicture::reducedSize(const Picture& pic, float zoom) {
  const auto side = [&](int32_t n) {
    return std::clamp(static_cast<int>(std::ceil(n * static_cast<double>(zoom))), 1, n);
  };
  return {side(pic.width), side(pic.height)};
}

void ZoomedPicture::draw(QPainter& p, const Picture& pic, float zoom, QPointF origin,
                         const QRect& clip) {
  if (pic.empty() || !(zoom > 0)) return;
  if (zoom >= 1.0f) {
    DrawPicture(p, pic, zoom, origin, clip);
    return;
  }
  const QSize size = reducedSize(pic, zoom);
  if (!valid_ || zoom_ != zoom || reduced_.size() != size) {
    // Reuse the buffer when the size stays: fresh memory costs page faults.
    if (reduced_.size() != size) reduced_ = QImage(size, QImage::Format_RGB32);
    ReduceKeepingMarks(pic, size.width(), size.height(),
                       reinterpret_cast<uint32_t*>(reduced_.bits()));
    zoom_ = zoom;
    valid_ = true;
  }
  // One screen pixel per reduced pixel: a further scaling could drop a row
  // or column, and with it a mark.
  const QPoint at(static_cast<int>(origin.x()), static_cast<int>(origin.y()));
  const QRect part = clip.translated(-at).intersected(reduced_.rect());
  if (!part.isEmpty()) p.drawImage(part.topLeft() + at, reduced_, part);
}

}  // namespace korvane
