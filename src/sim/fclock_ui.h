#pragma once
// The simulation clock: a small borderless window below the slow-mode button
// with a speed bar. Half a second after it is shown it asks for one slowed
// drawing pass; closing it ends the pauses.
#include <QTimer>
#include <QWidget>
#include <cstdint>

class QLabel;
class QSlider;
class QToolButton;

namespace korvane {

class TFClock : public QWidget {
  Q_OBJECT
 public:
  explicit TFClock(QWidget* parent = nullptr);

  // 0 until the clock first sets it.
  int32_t pausePerLine() const { return pause_; }
  QSlider* speed() const { return DSpeed_; }
  QTimer& startTimer() { return Start_; }

  // Left edge at the button's left + its width - the window's width + 2, top
  // edge at the button's top + the toolbar's height; then shown.
  void showBelow(const QWidget* button, int toolbarHeight);

 public slots:
  void SchliessenClick();
  // The slowed pass has ended (also when it failed).
  void passEnded();

 signals:
  // The start timer fired: run one drawing pass now.
  void startPass();
  // The window closed in any way: the slow-mode button goes up.
  void closed();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void StartTimer();

  QLabel* Label1_;
  QSlider* DSpeed_;
  QToolButton* Schliessen_;
  QTimer Start_;
  int32_t pause_ = 0;
};

}  // namespace korvane
