#include "sim/ncgraphicview_ui.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "base/numtext.h"
#include "sim/fclock_ui.h"
#include "sim/movequery.h"
#include "sim/ncgrafik_ui.h"

namespace korvane {

QCursor FensterCursor() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QPen(Qt::white, 3));
  p.drawRect(4, 4, 24, 18);
  p.drawLine(16, 9, 16, 17);
  p.drawLine(12, 13, 20, 13);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(4, 4, 24, 18);
  p.drawLine(16, 9, 16, 17);
  p.drawLine(12, 13, 20, 13);
  p.end();
  return QCursor(pm, 16, 13);
}

// What a pass asks of this page while it replays.
class TNCGraphicView::Hooks : public PassHooks {
 public:
  explicit Hooks(TNCGraphicView& v) : v_(v) {}
  bool slowMode() override { return v_.B1Delay_->isChecked(); }
  int pausePerLine() override { return v_.clock_->pausePerLine(); }
  void delay(int ms) override {
    // The move just replayed becomes visible during the pause.
    v_.surface_->update();
    v_.delay(ms);
  }
  void processEvents() override {
    if (slowMode()) v_.surface_->update();
    QCoreApplication::processEvents();
  }
  void lineDone(const MoveRecord& r) override {
    if (slowMode()) emit v_.lineReplayed(r.source);
  }

 private:
  TNCGraphicView& v_;
};

TNCGraphicView::TNCGraphicView(QWidget* parent) : QWidget(parent) {
  EnsureSimIcons();
  setObjectName("PGrafik");
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(0, 0, 0, 0);
  page->setSpacing(0);

  NCGPanel_ = new QWidget(this);
  NCGPanel_->setObjectName("NCGPanel");
  auto* bar = new QHBoxLayout(NCGPanel_);
  bar->setContentsMargins(4, 2, 4, 2);
  bar->setSpacing(2);
  page->addWidget(NCGPanel_);

  const auto add = [&](const char* name, const char* icon, const char* hint, bool checkable,
                       void (TNCGraphicView::*slot)()) {
    QToolButton* b = button(name, icon, QString::fromUtf8(hint), checkable);
    bar->addWidget(b);
    connect(b, &QToolButton::clicked, this, slot);
    return b;
  };
  add("Zoomin", "zoomin", "Ausschnitt vergrößern", false, &TNCGraphicView::ZoominClick);
  add("Zoomout", "zoomout", "Verkleinern", false, &TNCGraphicView::ZoomoutClick);
  add("Zoomall", "zoomall", "Alles zeigen", false, &TNCGraphicView::ZoomallClick);
  bar->addSpacing(8);
  add("YM_ROT", "ym_rot", "Kippen +5°", false, &TNCGraphicView::YM_ROTClick);
  add("YP_ROT", "yp_rot", "Kippen -5°", false, &TNCGraphicView::YP_ROTClick);
  add("ZM_ROT", "zm_rot", "Drehen -5°", false, &TNCGraphicView::ZM_ROTClick);
  add("ZP_ROT", "zp_rot", "Drehen +5°", false, &TNCGraphicView::ZP_ROTClick);
  bar->addSpacing(8);
  presets_ = new QButtonGroup(this);
  presets_->setExclusive(true);
  for (auto [name, icon, hint, slot] :
       {std::tuple{"XYButt", "xy", "Ebene XY", &TNCGraphicView::XYButtClick},
        std::tuple{"XZButt", "xz", "Ebene XZ", &TNCGraphicView::XZButtClick},
        std::tuple{"YZButt", "yz", "Ebene YZ", &TNCGraphicView::YZButtClick},
        std::tuple{"XYZButt", "xyz", "Schrägansicht", &TNCGraphicView::XYZButtClick}}) {
    presets_->addButton(add(name, icon, hint, true, slot));
  }
  presets_->buttons().last()->setChecked(true);
  bar->addSpacing(8);
  AxisButt_ = add("AxisButt", "axis", "Achsen", true, &TNCGraphicView::AxisButtClick);
  G0Butt_ = add("G0Butt", "g0", "Eilgang zeigen", true, &TNCGraphicView::G0ButtClick);
  add("Refresh", "refresh", "Neu zeichnen", false, &TNCGraphicView::RefreshClick);
  B1Delay_ = add("B1Delay", "clock", "Simulation", true, &TNCGraphicView::B1DelayClick);
  bar->addStretch(1);

  PNCGrafik_ = new QWidget(this);
  PNCGrafik_->setObjectName("PNCGrafik");
  auto* area = new QVBoxLayout(PNCGrafik_);
  area->setContentsMargins(0, 0, 0, 0);
  surface_ = new NCGrafik(PNCGrafik_);
  area->addWidget(surface_);
  page->addWidget(PNCGrafik_, 1);
  surface_->installEventFilter(this);
  status_ = new QLabel(this);
  status_->setObjectName("LWegInfo");
  status_->setContentsMargins(6, 2, 6, 2);
  page->addWidget(status_);
  showPathLengths(0, 0);

  // The pointer readout floats at the top right corner of the surface.
  PanelPos_ = new QWidget(surface_);
  PanelPos_->setObjectName("PanelPos");
  PanelPos_->setAutoFillBackground(true);
  auto* grid = new QGridLayout(PanelPos_);
  grid->setContentsMargins(6, 3, 6, 3);
  grid->setVerticalSpacing(0);
  auto* title = new QLabel(QStringLiteral("Zeigerposition"), PanelPos_);
  title->setObjectName("LZeigerposition");
  grid->addWidget(title, 0, 0, 1, 2);
  QLabel** values[] = {&xValue_, &yValue_, &zValue_};
  const char* axes[] = {"X", "Y", "Z"};
  for (int i = 0; i < 3; ++i) {
    auto* name = new QLabel(QString::fromLatin1(axes[i]), PanelPos_);
    name->setObjectName(QStringLiteral("LAchse%1").arg(axes[i]));
    auto* value = new QLabel(QStringLiteral("0.000"), PanelPos_);
    value->setObjectName(QStringLiteral("LAchse%1Wert").arg(axes[i]));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(70);
    grid->addWidget(name, i + 1, 0);
    grid->addWidget(value, i + 1, 1);
    *values[i] = value;
  }
  PanelPos_->adjustSize();

  RedrawTimer_.setObjectName("RedrawTimer");
  RedrawTimer_.setSingleShot(true);
  RedrawTimer_.setInterval(100);
  connect(&RedrawTimer_, &QTimer::timeout, this, [this] {
    RedrawTimer_.stop();
    DrawSimulation();
  });

  clock_ = new TFClock(this);
  connect(clock_, &TFClock::closed, this, [this] { B1Delay_->setChecked(false); });
  connect(clock_, &TFClock::startPass, this, [this] {
    clockPassRequested_ = true;
    if (inPass_) {
      pendingPass_ = true;
    } else {
      DrawSimulation();
    }
  });
}

TNCGraphicView::~TNCGraphicView() = default;

View3D& TNCGraphicView::view() { return surface_->view(); }

QToolButton* TNCGraphicView::button(const char* name, const char* icon, const QString& hint,
                                    bool checkable) {
  auto* b = new QToolButton(NCGPanel_);
  b->setObjectName(QString::fromLatin1(name));
  b->setIcon(QIcon(QStringLiteral(":/sim/%1.svg").arg(QString::fromLatin1(icon))));
  b->setIconSize(QSize(22, 22));
  b->setToolTip(hint);
  b->setCheckable(checkable);
  b->setAutoRaise(true);
  return b;
}

void TNCGraphicView::setMachineExtents(long double xMin, long double xMax, long double yMin,
                                       long double yMax) {
  xMin_ = xMin, xMax_ = xMax, yMin_ = yMin, yMax_ = yMax;
}

void TNCGraphicView::applyOptions(const GraphicOptions& options) {
  options_ = options;
  surface_->setColours(options);
  const char* names[] = {"XYButt", "XZButt", "YZButt", "XYZButt"};
  if (auto* b = NCGPanel_->findChild<QToolButton*>(names[int(options.preset)])) b->click();
  G0Butt_->setChecked(options.rapidMoves);
  G0ButtClick();
  AxisButt_->setChecked(options.axes3D);
  AxisButtClick();
}

void TNCGraphicView::markLine(int line) {
  const std::optional<MoveSpan> m =
      list_ && line >= 0 ? MoveOfLine(*list_, line) : std::optional<MoveSpan>{};
  marked_ = m ? line : -1;
  if (m) {
    surface_->setMark(m->from, m->to);
  } else {
    surface_->clearMark();
  }
}

void TNCGraphicView::showPathLengths(long double feed, long double rapid) {
  status_->setText(QStringLiteral("Vorschubweg: %1 mm    Eilgangweg: %2 mm")
                       .arg(QString::fromStdString(FormatFixed(feed, 3)),
                            QString::fromStdString(FormatFixed(rapid, 3))));
}

void TNCGraphicView::DrawSimulation(bool silent) {
  if (inPass_) {
    pendingPass_ = true;
    return;
  }
  inPass_ = true;
  do {
    pendingPass_ = false;
    const bool clockPass = clockPassRequested_;
    clockPassRequested_ = false;
    runPass(silent);
    silent = false;
    // The clock's pass ends the slow mode before a deferred pass runs.
    if (clockPass) clock_->passEnded();
  } while (pendingPass_);
  inPass_ = false;
}

void TNCGraphicView::runPass(bool silent) {
  if (!isVisible()) return;
  if (lock_) lock_(true);
  static const MoveList kEmpty;
  Hooks hooks(*this);
  surface_->setColours(options_);
  surface_->setShowRapid(G0Butt_->isChecked());
  if (B1Delay_->isChecked()) surface_->update();
  const ReplayResult r =
      surface_->drawPass(list_ ? *list_ : kEmpty, stock_, AxisButt_->isChecked(), hooks);
  if (lock_) lock_(false);
  surface_->update();
  lastError_ = r.error;
  if (!r.ok && !silent) emit passFailed(QString::fromStdString(r.error));
  emit passDone(r.ok);
}

void TNCGraphicView::delay(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  // Releasing the slow mode ends the pause at once.
  const auto released = connect(B1Delay_, &QToolButton::toggled, &loop, [&loop](bool down) {
    if (!down) loop.quit();
  });
  timer.start(ms);
  loop.exec();
  disconnect(released);
}

void TNCGraphicView::restartRedrawTimer() {
  RedrawTimer_.stop();
  RedrawTimer_.start();
}

void TNCGraphicView::G0ButtClick() {
  surface_->setShowRapid(G0Butt_->isChecked());
  DrawSimulation();
}

void TNCGraphicView::ZoominClick() {
  zoomIn_ = true;
  surface_->setCursor(FensterCursor());
}

void TNCGraphicView::ZoomoutClick() {
  ZoomOutButton(view());
  DrawSimulation();
}

void TNCGraphicView::ZoomallClick() {
  ZoomAll(view(), xMin_, xMax_, yMin_, yMax_);
  DrawSimulation();
}

void TNCGraphicView::rotate(RotateButton b) {
  RotateByButton(view(), b);
  restartRedrawTimer();
}

void TNCGraphicView::preset(ViewPreset p) {
  const char* names[] = {"XYButt", "XZButt", "YZButt", "XYZButt"};
  if (auto* b = NCGPanel_->findChild<QToolButton*>(names[int(p)])) b->setChecked(true);
  const PresetAngles a = AnglesOf(p);
  DynRotate(10, a.yRotation, a.zRotation);
}

void TNCGraphicView::DynRotate(int steps, long double y, long double z) {
  const TurnPlan plan = PlanDynRotate(view(), steps, y, z);
  // Hidden (a settings load at start): the same angles, nothing to animate.
  const bool shown = isVisible();
  for (int i = 0; i < plan.steps; ++i) {
    ApplyTurnStep(view(), plan);
    if (!shown) continue;
    DrawSimulation();
    if (i + 1 < plan.steps) delay(30);
  }
}

void TNCGraphicView::B1DelayClick() {
  clock_->showBelow(B1Delay_, NCGPanel_->height());
}

bool TNCGraphicView::handleKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (key == Qt::Key_PageUp || (keypad && key == Qt::Key_Minus)) {
    KeyZoomOut(view());
    restartRedrawTimer();
  } else if (key == Qt::Key_PageDown || (keypad && key == Qt::Key_Plus)) {
    KeyZoomIn(view());
    restartRedrawTimer();
  } else if (key == Qt::Key_Left) {
    ZM_ROTClick();
  } else if (key == Qt::Key_Right) {
    ZP_ROTClick();
  } else if (key == Qt::Key_Up) {
    YM_ROTClick();
  } else if (key == Qt::Key_Down) {
    YP_ROTClick();
  } else {
    return false;
  }
  return true;
}

void TNCGraphicView::showPointer(QPoint at) {
  const World3 w = view().PixelToWorld(at.x(), at.y());
  xValue_->setText(QString::fromStdString(FormatFixed(w.x, 3)));
  yValue_->setText(QString::fromStdString(FormatFixed(w.y, 3)));
  zValue_->setText(QString::fromStdString(FormatFixed(w.z, 3)));
}

bool TNCGraphicView::eventFilter(QObject* watched, QEvent* event) {
  if (watched != surface_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      surface_->setFocus(Qt::MouseFocusReason);  // the keys come here from now on
      pressAt_ = e->position().toPoint();
      if (zoomIn_) {
        const QPoint at = e->position().toPoint();
        ZoomInClick(view(), at.x(), at.y());
        DrawSimulation();
        zoomIn_ = false;
        surface_->unsetCursor();
        pressAt_ = QPoint(-100000, -100000);  // its release is no click on a move
      }
      return true;
    }
    case QEvent::MouseButtonRelease: {
      // A click without dragging points at the nearest drawn move.
      auto* e = static_cast<QMouseEvent*>(event);
      const QPoint at = e->position().toPoint();
      if (e->button() == Qt::LeftButton && list_ && !list_->empty() &&
          (at - pressAt_).manhattanLength() <= 2) {
        const int line = NearestLine(*list_, view(), at.x(), at.y(), G0Butt_->isChecked(), 6);
        if (line >= 0) emit lineClicked(line);
      }
      return true;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPoint at = e->position().toPoint();
      if (at.x() == drag_.lastX && at.y() == drag_.lastY) return true;
      if (!zoomIn_ && e->buttons() == Qt::LeftButton && e->modifiers() == Qt::NoModifier &&
          DragRotate(view(), drag_, at.x(), at.y())) {
        restartRedrawTimer();
      }
      showPointer(at);
      drag_.lastX = at.x();
      drag_.lastY = at.y();
      return true;
    }
    case QEvent::Wheel: {
      auto* e = static_cast<QWheelEvent*>(event);
      if (zoomIn_ || !isVisible()) return true;
      const int delta = e->angleDelta().y();
      const QPoint at = e->position().toPoint();
      RedrawTimer_.stop();
      WheelZoom(view(), delta, at.x(), at.y());
      RedrawTimer_.start();
      if (delta > 0) {
        const QPoint centre(static_cast<int>(std::lrint(surface_->width() / 2.0)),
                            static_cast<int>(std::lrint(surface_->height() / 2.0)));
        QCursor::setPos(surface_->mapToGlobal(centre));
      }
      return true;
    }
    case QEvent::KeyPress: {
      auto* e = static_cast<QKeyEvent*>(event);
      return handleKey(e->key(), e->modifiers());
    }
    case QEvent::Resize:
      PanelPos_->move(surface_->width() - PanelPos_->width(), 0);
      if (!RedrawTimer_.isActive()) RedrawTimer_.start();
      return false;
    default:
      return false;
  }
}

}  // namespace korvane
