#pragma once
// The graphic page: the toolbar NCGPanel, the drawing surface NCGrafik with
// the pointer readout, the redraw timer and the simulation clock. Its inputs
// are narrow (move list, machine extents, stock definition, options from the
// settings, a lock hook); it never reaches for the main window.
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "sim/movelist.h"
#include "sim/simclock.h"
#include "sim/view3d.h"

class QButtonGroup;
class QLabel;
class QToolButton;

namespace korvane {

class NCGrafik;
class TFClock;

// The zoom-in cursor, a window frame with a plus, drawn by the program.
QCursor FensterCursor();

class TNCGraphicView : public QWidget {
  Q_OBJECT
 public:
  explicit TNCGraphicView(QWidget* parent = nullptr);
  ~TNCGraphicView() override;

  NCGrafik* surface() const { return surface_; }
  View3D& view();
  TFClock* clock() const { return clock_; }
  QWidget* toolbar() const { return NCGPanel_; }
  QTimer& redrawTimer() { return RedrawTimer_; }

  // The move list replayed by every pass; it must outlive its use here.
  void setMoveList(const MoveList* list) { list_ = list; }
  void setMachineExtents(long double xMin, long double xMax, long double yMin, long double yMax);
  void setStockDefinition(const std::string& definition) { stock_ = definition; }
  const std::string& stockDefinition() const { return stock_; }
  // Called with true when a pass starts and false when it ends (also after a
  // failure): the main window disables its command panels meanwhile.
  void setLockHook(std::function<void(bool)> hook) { lock_ = std::move(hook); }
  // Colours, the preset (its button pressed, with the turn) and the rapid and
  // axes toggles with their commands, as a settings load applies them.
  void applyOptions(const GraphicOptions& options);

  // The zoom and rotation keys; false for any other key.
  bool handleKey(int key, Qt::KeyboardModifiers modifiers);

  // Marks the move of move-list line `line` (-1: no mark).
  void markLine(int line);
  int markedLine() const { return marked_; }
  // The feed and rapid path lengths of the program, in the status line.
  void showPathLengths(long double feed, long double rapid);
  QLabel* statusLine() const { return status_; }

  bool zoomInMode() const { return zoomIn_; }
  bool passRunning() const { return inPass_; }
  const std::string& lastError() const { return lastError_; }

 public slots:
  // One drawing pass (nothing while the page is hidden). A pass asked for
  // while one runs is deferred until that one has ended. `silent` keeps an
  // unreadable line from being reported (the pass after a build).
  void DrawSimulation(bool silent = false);
  void RefreshClick() { DrawSimulation(); }
  void G0ButtClick();
  void AxisButtClick() { DrawSimulation(); }
  void ZoominClick();
  void ZoomoutClick();
  void ZoomallClick();
  void YM_ROTClick() { rotate(RotateButton::YM_ROT); }
  void YP_ROTClick() { rotate(RotateButton::YP_ROT); }
  void ZM_ROTClick() { rotate(RotateButton::ZM_ROT); }
  void ZP_ROTClick() { rotate(RotateButton::ZP_ROT); }
  void XYButtClick() { preset(ViewPreset::XY); }
  void XZButtClick() { preset(ViewPreset::XZ); }
  void YZButtClick() { preset(ViewPreset::YZ); }
  void XYZButtClick() { preset(ViewPreset::XYZ); }
  void B1DelayClick();
  // Animated turn to the angles in `steps` passes, 30 ms apart.
  void DynRotate(int steps, long double y, long double z);

 signals:
  // A pass ended; ok false when a line could not be read.
  void passDone(bool ok);
  // An unreadable line ended a pass that is not silent.
  void passFailed(const QString& error);
  // In slow mode, after each line: the move-list index of that line.
  void lineReplayed(int source);
  // A click near a drawn move (outside zoom-in mode): its move-list line.
  void lineClicked(int line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Hooks;
  QToolButton* button(const char* name, const char* icon, const QString& hint, bool checkable);
  void runPass(bool silent);
  void restartRedrawTimer();
  void rotate(RotateButton b);
  void preset(ViewPreset p);
  void showPointer(QPoint at);
  void delay(int ms);

  QWidget* NCGPanel_;
  QWidget* PNCGrafik_;
  NCGrafik* surface_;
  QWidget* PanelPos_;
  QLabel* xValue_;
  QLabel* yValue_;
  QLabel* zValue_;
  QLabel* status_;
  QPoint pressAt_;
  int marked_ = -1;
  QToolButton* AxisButt_;
  QToolButton* G0Butt_;
  QToolButton* B1Delay_;
  QButtonGroup* presets_;
  TFClock* clock_;
  QTimer RedrawTimer_;

  const MoveList* list_ = nullptr;
  std::string stock_;
  std::function<void(bool)> lock_;
  GraphicOptions options_;
  long double xMin_ = 0, xMax_ = 0, yMin_ = 0, yMax_ = 0;
  bool zoomIn_ = false;
  DragState drag_;
  bool inPass_ = false;
  bool pendingPass_ = false;
  bool clockPassRequested_ = false;
  std::string lastError_;
};

}  // namespace korvane
