#pragma once
// The drawing surface of the graphic view: an off-screen picture of the
// widget's size on which a drawing pass paints the axes, the stock body and
// the replayed tool moves in perspective, shown as it is.
#include <QImage>
#include <QWidget>
#include <array>
#include <string>

#include "sim/interpreter.h"
#include "sim/rasterline.h"
#include "sim/simclock.h"
#include "sim/stock.h"
#include "sim/view3d.h"

namespace korvane {

QColor ToQColor(const Rgb& c);
// Registers the icons of the graphic and stock pages (a static library's
// resources are not registered on their own).
void EnsureSimIcons();

class NCGrafik : public QWidget, public MoveSink, public PenSurface3D {
  Q_OBJECT
 public:
  explicit NCGrafik(QWidget* parent = nullptr);

  View3D& view() { return view_; }
  const View3D& view() const { return view_; }

  void setColours(const GraphicOptions& colours);
  // Read at every rapid move, so that switching it during a pass changes how
  // the remaining rapid moves are drawn.
  void setShowRapid(bool on) { showRapid_ = on; }
  bool showRapid() const { return showRapid_; }

  // One drawing pass without the window around it: clear, axes, stock body,
  // then the replay of `list`. The interpreter state is reset first.
  ReplayResult drawPass(const MoveList& list, const std::string& stock, bool axes,
                        PassHooks& hooks);

  // Makes the picture follow the widget's size (at the start of a pass).
  void beginSurface();
  void ClearSurface();
  enum class PenKind { Axes, Stock, Feed, Rapid };
  void usePen(PenKind pen);
  void MoveTo3D(long double x, long double y, long double z) override;
  void LineTo3D(long double x, long double y, long double z) override;
  void Segment3D(long double x1, long double y1, long double z1, long double x2, long double y2,
                 long double z2);
  const QImage& image() const { return image_; }

  // A marked move (the editor's caret line) drawn over the picture: the move
  // highlighted and the tool at its end. Projected with the current view.
  void setMark(const Point3& from, const Point3& to);
  void clearMark();
  bool hasMark() const { return markOn_; }

  // MoveSink.
  void placement(const Point3& at) override;
  void rapid(const Point3& from, const Point3& to) override;
  void feed(const Point3& from, const Point3& to) override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  struct Pen {
    uint32_t colour;
    LineStyle style;
  };
  Pixel project(const Point3& p) const;
  void line(PenKind pen, Pixel a, Pixel b);
  void addLine(PenKind pen, const Point3& from, const Point3& to);

  View3D view_;
  QImage image_;
  RasterTarget target_;
  std::array<Pen, 4> pens_{};
  QColor background_;
  PenKind current_ = PenKind::Axes;
  Pixel penAt_;
  // The last projected point: a move starts where the previous one ended.
  Point3 lastWorld_;
  Pixel lastPixel_;
  bool lastValid_ = false;
  bool showRapid_ = true;
  bool markOn_ = false;
  Point3 markFrom_, markTo_;
  MoveInterpreter interp_;
};

}  // namespace korvane
