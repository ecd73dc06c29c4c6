#pragma once
// The NC graphic and stock views of the main window: the graphic page fed
// from the job (move list, extents, settings) and the stock page.
#include <QObject>
#include <functional>

#include "settings/view_ui.h"

namespace korvane {

class TNCGraphicView;
class TPRohteil;

// "PGrafik": the toolbar NCGPanel and the drawing NCGrafik. A build redraws
// it when it shows; the first accepted build of a picture fits the view to
// the machine extents when it is shown next. The zoom and rotation keys reach
// it wherever the focus is in the main window, as long as the page shows.
class NcGraphicPage : public QObject, public View {
  Q_OBJECT
 public:
  explicit NcGraphicPage(ViewContext& ctx);
  QWidget* page() override;
  QWidget* toolbar() override;
  void activated() override;

  TNCGraphicView* graphic() const { return graphic_; }
  // The NC line of move-list line `line`, -1 when the build has none.
  int ncLineOf(int line) const;
  // Marks the move of NC line `ncLine` (the editor's caret line).
  void markNcLine(int ncLine);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void programBuilt();

  Job& job_;
  TNCGraphicView* graphic_;
  bool fitPending_ = false;
};

// "PRohteil": the stock body's shape and dimensions.
class StockPage : public View {
 public:
  explicit StockPage(ViewContext& ctx);
  QWidget* page() override;
  QWidget* toolbar() override { return nullptr; }
  TPRohteil* stock() const { return stock_; }

 private:
  TPRohteil* stock_;
};

// The stock page's definition goes to the graphic page, its two commands
// show the graphic view (`showGraphic`).
void LinkStockToGraphic(StockPage& stock, NcGraphicPage& graphic, std::function<void()> showGraphic);

}  // namespace korvane
