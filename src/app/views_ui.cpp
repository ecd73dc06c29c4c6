#include "app/views_ui.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>

#include "app/commands_ui.h"
#include "editor/nceditor_ui.h"
#include "image/pictureview_ui.h"
#include "ncout/pprofil_ui.h"
#include "settings/widgets_ui.h"
#include "sim/ncgraphicview_ui.h"
#include "sim/simviews_ui.h"

namespace korvane {

namespace {

QVBoxLayout* PageLayout(QWidget* page) {
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  return v;
}

QHBoxLayout* ToolbarLayout(QWidget* bar) {
  bar->setFixedHeight(36);
  auto* h = new QHBoxLayout(bar);
  h->setContentsMargins(6, 2, 6, 2);
  h->setSpacing(3);
  return h;
}

// A tool-bar button that runs a main-window command.
QPushButton* CommandToolButton(ViewContext& ctx, QWidget* bar, const char* name,
                               const char* command, const QString& hint, const char* icon) {
  QPushButton* b = ToolButton(bar, name, hint, icon);
  if (QAction* a = ctx.command(command)) Commands::bind(b, a);
  return b;
}

}  // namespace

PictureViewPage::PictureViewPage(ViewContext& ctx) {
  page_ = Panel(ctx.parent, "PImage");
  QVBoxLayout* v = PageLayout(page_);
  toolbar_ = Panel(page_, "PanelBildMenue");
  QHBoxLayout* th = ToolbarLayout(toolbar_);
  QPushButton* plus = ToolButton(toolbar_, "BImgPlus", QStringLiteral("Vergrößern"), "zoomin");
  QPushButton* minus = ToolButton(toolbar_, "BImgMinus", QStringLiteral("Verkleinern"), "zoomout");
  QPushButton* fit = ToolButton(toolbar_, "BNormalScale", QStringLiteral("Einpassen"), "fit");
  bw_ = Button(toolbar_, "BBw", QStringLiteral("Schwarz/Weiss"), "bw");
  bw_->setFixedHeight(30);
  if (QAction* a = ctx.command("BBw")) Commands::bind(bw_, a);
  QPushButton* save = CommandToolButton(ctx, toolbar_, "BTSave", "MBildsave",
                                        QStringLiteral("Bilddatei speichern ..."), "save");
  for (QWidget* w : {static_cast<QWidget*>(plus), static_cast<QWidget*>(minus),
                     static_cast<QWidget*>(fit), static_cast<QWidget*>(bw_)})
    th->addWidget(w);
  // Picture preparation: tip and icon as the command table gives them.
  for (const std::string_view name : {"BHkg", "BEFilter", "BRot90", "BFlipV", "BFlipH", "BResize"}) {
    for (const CommandRow& row : MainCommands()) {
      if (name == row.name)
        th->addWidget(CommandToolButton(ctx, toolbar_, row.name, row.name,
                                        QString::fromUtf8(row.tip), row.icon));
    }
  }
  th->addStretch();
  th->addWidget(save);
  v->addWidget(toolbar_);
  bild_ = new PictureView(ctx.job.working, page_);
  bild_->setObjectName(QStringLiteral("Bild"));
  v->addWidget(bild_, 1);
  QObject::connect(plus, &QPushButton::clicked, bild_, &PictureView::zoomIn);
  QObject::connect(minus, &QPushButton::clicked, bild_, &PictureView::zoomOut);
  QObject::connect(fit, &QPushButton::clicked, bild_, &PictureView::fitToView);
  if (QAction* a = ctx.command("BBw"))
    QObject::connect(bild_->bwWarning(), &QPushButton::clicked, a, &QAction::trigger);
  QObject::connect(&ctx.events, &JobEvents::pictureChanged, bild_, &PictureView::pictureChanged);
}

NcProgramView::NcProgramView(ViewContext& ctx) : job_(ctx.job), progress_(ctx.progress) {
  page_ = Panel(ctx.parent, "PProgramm");
  QVBoxLayout* pv = PageLayout(page_);
  toolbar_ = Panel(page_, "NCPPanel");
  QHBoxLayout* nh = ToolbarLayout(toolbar_);
  QPushButton* speichern = CommandToolButton(ctx, toolbar_, "Speichern", "NCProgrammspeichern1",
                                             QStringLiteral("Speichern"), "save");
  QPushButton* undo =
      CommandToolButton(ctx, toolbar_, "Undo2", "Undo2", QStringLiteral("Rückgängig"), "undo");
  QPushButton* redo =
      CommandToolButton(ctx, toolbar_, "Redo2", "Redo2", QStringLiteral("Widerrufen"), "redo");
  QPushButton* cut =
      CommandToolButton(ctx, toolbar_, "Cut", "Cut", QStringLiteral("Ausschneiden"), "cut");
  QPushButton* copy =
      CommandToolButton(ctx, toolbar_, "copy1", "copy1", QStringLiteral("Kopieren"), "copy");
  QPushButton* paste =
      CommandToolButton(ctx, toolbar_, "paste1", "paste1", QStringLiteral("Einfügen"), "paste");
  QPushButton* profil = Button(toolbar_, "BProfil", QStringLiteral("PROFIL"));
  profil->setCheckable(true);
  profil->setFixedHeight(30);
  for (QPushButton* b : {speichern, undo, redo, cut, copy, paste}) nh->addWidget(b);
  nh->addStretch();
  nh->addWidget(profil);
  pv->addWidget(toolbar_);

  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  editor_ = new NcEditor(page_);
  body->addWidget(editor_, 1);
  profil_ = new PProfil(ctx.job, page_);
  profil_->hide();
  body->addWidget(profil_);
  pv->addLayout(body, 1);

  auto* info = Panel(page_, "Editorinfo");
  info->setFixedHeight(30);
  auto* ih = new QHBoxLayout(info);
  ih->setContentsMargins(6, 2, 6, 2);
  ih->addWidget(Label(info, "LZeilen", QStringLiteral("Zeilen: ")));
  eZeilen_ = ReadOnlyField(info, "EZeilen", QStringLiteral("0"));
  ih->addWidget(eZeilen_);
  ih->addWidget(Label(info, "LZeichen", QStringLiteral("Zeichen:")));
  eZeichen_ = ReadOnlyField(info, "EZeichen", QStringLiteral("0"));
  ih->addWidget(eZeichen_);
  ih->addWidget(Label(info, "LWege", QStringLiteral("Wege")));
  eMaxWeg_ = ReadOnlyField(info, "EMaxWeg", QStringLiteral("0"));
  ih->addWidget(eMaxWeg_);
  ih->addStretch();
  for (QLineEdit* e : {eZeilen_, eZeichen_, eMaxWeg_}) e->setFixedWidth(90);
  pv->addWidget(info);

  QObject::connect(profil, &QPushButton::toggled, profil_, &QWidget::setVisible);
  if (QAction* a = ctx.command("BConvert"))
    QObject::connect(profil_, &PProfil::convertRequested, a, &QAction::trigger);

  JobEvents& ev = ctx.events;
  QObject::connect(&ev, &JobEvents::runStarted, editor_, &NcEditor::clearProgram);
  // A build starts from an empty editor; the old text is not kept beside the new program.
  QObject::connect(&ev, &JobEvents::buildStarting, editor_, &NcEditor::clearProgram);
  // A new picture voids the program and its counts together.
  QObject::connect(&ev, &JobEvents::pictureOpened, editor_, [this] {
    editor_->clearProgram();
    showCounts(0, 0, 0);
  });
  QObject::connect(&ev, &JobEvents::programBuilt, editor_, [this] {
    editor_->setProgram(job_.ncLines, progress_);
    showCounts(job_.ncLineCount, job_.ncCharCount, job_.ncSegmentCount);
  });
  QObject::connect(&ev, &JobEvents::settingsApplied, profil_, &PProfil::fillFromActive);
}

void NcProgramView::showCounts(long long lines, long long chars, long long segments) {
  eZeilen_->setText(QString::number(lines));
  eZeichen_->setText(QString::number(chars));
  eMaxWeg_->setText(QString::number(segments));
}

namespace {

const ViewRow kViews[] = {
    {"BImage", 1002, "Bild", "image",
     [](ViewContext& c) -> std::unique_ptr<View> { return std::make_unique<PictureViewPage>(c); }},
    {"BProgram", 1003, "NC-Programm", "program",
     [](ViewContext& c) -> std::unique_ptr<View> { return std::make_unique<NcProgramView>(c); }},
    {"BGrafik", 1004, "NC-Grafik", "grafik",
     [](ViewContext& c) -> std::unique_ptr<View> { return std::make_unique<NcGraphicPage>(c); }},
    {"BBlank", 1001, "Rohteil", "blank",
     [](ViewContext& c) -> std::unique_ptr<View> { return std::make_unique<StockPage>(c); }},
};

}  // namespace

std::span<const ViewRow> MainViews() { return kViews; }

void LinkViews(std::span<const std::unique_ptr<View>> views, std::function<void()> showGraphic) {
  auto& program = static_cast<NcProgramView&>(*views[kProgramView]);
  auto& graphic = static_cast<NcGraphicPage&>(*views[kGraphicView]);
  LinkStockToGraphic(static_cast<StockPage&>(*views[kStockView]), graphic, std::move(showGraphic));
  // The editor and the drawing point at each other's lines through the NC
  // line of each move, as the last build recorded it.
  NcEditor* editor = program.editor();
  TNCGraphicView* g = graphic.graphic();
  QObject::connect(editor, &NcEditor::caretLineChanged, g,
                   [&graphic](int line) { graphic.markNcLine(line); });
  const auto toEditor = [&graphic, editor](int line) {
    const int nc = graphic.ncLineOf(line);
    if (nc < 0 || nc >= editor->lineCount()) return;
    editor->setCursorPosition(nc, 0);
    editor->scrollToLine(nc);
    graphic.graphic()->markLine(line);
  };
  QObject::connect(g, &TNCGraphicView::lineClicked, editor, toEditor);
  QObject::connect(g, &TNCGraphicView::lineReplayed, editor, toEditor);
}

}  // namespace korvane
