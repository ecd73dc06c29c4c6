#pragma once
// The main window's four views. Each builds its own page and tool bar and
// listens to the job events; the main window only switches between them.
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "settings/view_ui.h"

class QLineEdit;
class QPushButton;

namespace korvane {

class NcEditor;
class PProfil;
class PictureView;

// "PImage": the picture with its tool bar PanelBildMenue.
class PictureViewPage : public View {
 public:
  explicit PictureViewPage(ViewContext& ctx);
  QWidget* page() override { return page_; }
  QWidget* toolbar() override { return toolbar_; }

  PictureView* bild() const { return bild_; }
  // The black-and-white button, below which the black-and-white dialog opens.
  QPushButton* bwButton() const { return bw_; }

 private:
  QWidget* page_;
  QWidget* toolbar_;
  PictureView* bild_;
  QPushButton* bw_;
};

// "PProgramm": the NC editor with its tool bar NCPPanel, the profile panel
// and the counters of the last build.
class NcProgramView : public View {
 public:
  explicit NcProgramView(ViewContext& ctx);
  QWidget* page() override { return page_; }
  QWidget* toolbar() override { return toolbar_; }

  NcEditor* editor() const { return editor_; }
  PProfil* profil() const { return profil_; }

 private:
  void showCounts(long long lines, long long chars, long long segments);

  Job& job_;
  ProgressSink* progress_;
  QWidget* page_;
  QWidget* toolbar_;
  NcEditor* editor_;
  PProfil* profil_;
  QLineEdit* eZeilen_;
  QLineEdit* eZeichen_;
  QLineEdit* eMaxWeg_;
};

// The registration list: one row per view, in the order of the view bar.
struct ViewRow {
  const char* button;  // objectName of its view-bar button
  int caption;         // language text number of the button caption
  const char* german;  // the button caption as designed
  const char* icon;    // glyph of the button, :/icons/<icon>.svg
  std::unique_ptr<View> (*make)(ViewContext&);
};
std::span<const ViewRow> MainViews();

// Connections between views once all exist: the stock page feeds the graphic
// page, and the NC editor and the graphic page follow each other's lines.
void LinkViews(std::span<const std::unique_ptr<View>> views, std::function<void()> showGraphic);

// Indices into MainViews(), for the four view commands.
enum ViewIndex { kPictureView = 0, kProgramView = 1, kGraphicView = 2, kStockView = 3 };

}  // namespace korvane
