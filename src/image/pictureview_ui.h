#pragma once
// The picture view `Bild`: the working image at a zoom factor, drawn with
// nearest-neighbour sampling on the dark blue background, centred where it is
// smaller than the view and scrollable where it is larger.
#include <QAbstractScrollArea>
#include <QWidget>
#include <functional>

#include "base/picture.h"
#include "image/zoomedpicture_ui.h"

class QPushButton;

namespace korvane {

// Draw `pic` scaled by `zoom` with its top-left corner at `origin`, touching
// only the source pixels that fall into `clip`.
void DrawPicture(QPainter& p, const Picture& pic, float zoom, QPointF origin, const QRect& clip);

class PictureView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit PictureView(const Picture& pic, QWidget* parent = nullptr);

  float zoom() const { return zoom_; }
  void setZoom(float f);
  void zoomIn();
  void zoomOut();
  // Fit the picture into the view with a free margin around it.
  void fitToView();
  // The picture changed size or content.
  void pictureChanged();

  QPushButton* bwWarning() const { return bwWarning_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void scrollContentsBy(int, int) override { viewport()->update(); }

 private:
  void updateScrollBars();
  QPointF origin() const;

  const Picture& pic_;
  float zoom_ = 2.0f;
  ZoomedPicture zoomed_;  // below 1:1, a reduced copy that keeps the marks
  QPushButton* bwWarning_;
};

// The conversion dialog's result view: the picture at a fixed scale that the
// caller computes from the view size.
class PreviewView : public QWidget {
  Q_OBJECT
 public:
  PreviewView(const Picture& pic, std::function<float(int, int)> scale, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const Picture& pic_;
  std::function<float(int, int)> scale_;
};

}  // namespace korvane
