#pragma once
// Drawing a picture at a zoom factor: nearest-neighbour at 1:1 and larger;
// below 1:1 a reduced copy that keeps the marks visible as lines, made once
// per picture change and zoom and reused by every paint.
#include <QImage>
#include <QPointF>
#include <QRect>

#include "base/picture.h"

class QPainter;

namespace korvane {

class ZoomedPicture {
 public:
  // The picture's pixels changed (or it was replaced).
  void invalidate() { valid_ = false; }
  void draw(QPainter& p, const Picture& pic, float zoom, QPointF origin, const QRect& clip);
  // Size of the reduced copy for a zoom below 1 (ceil of the scaled size).
  static QSize reducedSize(const Picture& pic, float zoom);

 private:
  QImage reduced_;
  float zoom_ = 0;
  bool valid_ = false;
};

}  // namespace korvane
