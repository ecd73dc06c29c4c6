#include "sim/simviews_ui.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "sim/movequery.h"
#include "sim/ncgrafik_ui.h"
#include "sim/ncgraphicview_ui.h"
#include "sim/prohteil_ui.h"
#include "sim/simclock.h"

namespace korvane {

NcGraphicPage::NcGraphicPage(ViewContext& ctx) : job_(ctx.job) {
  graphic_ = new TNCGraphicView(ctx.parent);
  graphic_->setMoveList(&job_.moveRecords);
  graphic_->setLockHook(ctx.lockButtons);
  JobEvents& ev = ctx.events;
  QObject::connect(&ev, &JobEvents::programBuilt, this, [this] { programBuilt(); });
  QObject::connect(&ev, &JobEvents::pictureOpened, this, [this] {
    fitPending_ = false;
    graphic_->markLine(-1);
    graphic_->showPathLengths(0, 0);
    graphic_->DrawSimulation(true);
  });
  QObject::connect(&ev, &JobEvents::settingsApplied, this,
                   [this] { graphic_->applyOptions(GraphicOptionsOf(job_.general)); });
  QObject::connect(graphic_, &TNCGraphicView::passFailed, graphic_->statusLine(),
                   &QLabel::setText);
  qApp->installEventFilter(this);
}

QWidget* NcGraphicPage::page() { return graphic_; }
QWidget* NcGraphicPage::toolbar() { return graphic_->toolbar(); }

void NcGraphicPage::activated() {
  if (fitPending_) {
    fitPending_ = false;
    graphic_->ZoomallClick();
  } else {
    graphic_->RefreshClick();
  }
}

void NcGraphicPage::programBuilt() {
  const MachineExtents& e = job_.extents;
  graphic_->setMachineExtents(e.xMin, e.xMax, e.yMin, e.yMax);
  // The first accepted build of a picture is about to show this page.
  if (job_.graphicViewPending && !job_.moveRecords.empty()) fitPending_ = true;
  graphic_->markLine(-1);
  graphic_->showPathLengths(job_.pathLengths.feed, job_.pathLengths.rapid);
  if (graphic_->isVisible()) graphic_->DrawSimulation(true);
}

int NcGraphicPage::ncLineOf(int line) const {
  if (line < 0 || static_cast<size_t>(line) >= job_.moveLines.size()) return -1;
  return job_.moveLines[static_cast<size_t>(line)];
}

void NcGraphicPage::markNcLine(int ncLine) {
  // The lines of one NC line (a rapid move without a line of its own shares
  // the previous one): its feed move first.
  const std::vector<int32_t>& lines = job_.moveLines;
  const auto [lo, hi] = std::equal_range(lines.begin() + (lines.empty() ? 0 : 1), lines.end(), ncLine);
  int best = -1;
  for (auto it = lo; it != hi; ++it) {
    const int i = static_cast<int>(it - lines.begin());
    if (static_cast<size_t>(i) >= job_.moveRecords.size()) break;
    const MoveKind k = job_.moveRecords.records()[static_cast<size_t>(i)].kind;
    if (k == MoveKind::Feed) {
      best = i;
      break;
    }
    if (best < 0 && k == MoveKind::Rapid) best = i;
  }
  graphic_->markLine(best);
}

bool NcGraphicPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !graphic_->isVisible()) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || w->window() != graphic_->window() || w == graphic_->surface()) return false;
  // Text fields and lists keep their own keys.
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
      qobject_cast<QAbstractScrollArea*>(w))
    return false;
  auto* e = static_cast<QKeyEvent*>(event);
  return graphic_->handleKey(e->key(), e->modifiers());
}

StockPage::StockPage(ViewContext& ctx) { stock_ = new TPRohteil(ctx.parent); }

QWidget* StockPage::page() { return stock_; }

void LinkStockToGraphic(StockPage& stock, NcGraphicPage& graphic, std::function<void()> showGraphic) {
  TNCGraphicView* g = graphic.graphic();
  QObject::connect(stock.stock(), &TPRohteil::definitionChanged, g,
                   [g](const QString& d) { g->setStockDefinition(d.toStdString()); });
  QObject::connect(stock.stock(), &TPRohteil::showGraphic, g, std::move(showGraphic));
}

}  // namespace korvane
