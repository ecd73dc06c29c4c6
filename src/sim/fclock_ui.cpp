#include "sim/fclock_ui.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include "sim/ncgrafik_ui.h"
#include "sim/simclock.h"

namespace korvane {

TFClock::TFClock(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  EnsureSimIcons();
  setObjectName("FClock");
  setFixedSize(219, 35);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 2, 2);
  row->setSpacing(4);
  Label1_ = new QLabel(QStringLiteral("Geschwindigkeit"), this);
  Label1_->setObjectName("Label1");
  DSpeed_ = new QSlider(Qt::Horizontal, this);
  DSpeed_->setObjectName("DSpeed");
  DSpeed_->setRange(kSpeedMin, kSpeedMax);
  DSpeed_->setValue(kSpeedMax);
  Schliessen_ = new QToolButton(this);
  Schliessen_->setObjectName("Schliessen");
  Schliessen_->setIcon(QIcon(QStringLiteral(":/sim/close.svg")));
  Schliessen_->setAutoRaise(true);
  Schliessen_->setToolTip(QStringLiteral("Schließen"));
  row->addWidget(Label1_);
  row->addWidget(DSpeed_, 1);
  row->addWidget(Schliessen_);

  Start_.setObjectName("Start");
  Start_.setSingleShot(true);
  Start_.setInterval(kClockStartMs);
  connect(&Start_, &QTimer::timeout, this, &TFClock::StartTimer);
  connect(DSpeed_, &QSlider::valueChanged, this,
          [this](int position) { pause_ = PausePerLine(position, DSpeed_->maximum()); });
  connect(Schliessen_, &QToolButton::clicked, this, &TFClock::SchliessenClick);
}

void TFClock::showBelow(const QWidget* button, int toolbarHeight) {
  const QPoint at = button->mapToGlobal(QPoint(0, 0));
  move(at.x() + button->width() - width() + 2, at.y() + toolbarHeight);
  show();
}

void TFClock::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  Start_.start();
}

void TFClock::closeEvent(QCloseEvent* e) {
  Start_.stop();
  QWidget::closeEvent(e);
  emit closed();
}

void TFClock::SchliessenClick() { close(); }

void TFClock::StartTimer() {
  Start_.stop();
  pause_ = PausePerLine(DSpeed_->value(), DSpeed_->maximum());
  emit startPass();
}

void TFClock::passEnded() {
  Start_.stop();
  if (isVisible()) {
    close();
  } else {
    emit closed();
  }
}

}  // namespace korvane
