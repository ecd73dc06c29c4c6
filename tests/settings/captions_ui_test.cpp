// Captions applied from a table to any window, found by objectName.
#include "settings/captions_ui.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korvane {
namespace {

const CaptionEntry kTable[] = {
    {5001, "TTest", "Testfenster"},  // the window's own title
    {5002, "BKnopf", "Knopf"},      {5003, "LText", "Text"},   {5004, "CHaken", "Haken"},
    {5005, "GRahmen", "Rahmen"},    {5006, "PSeite", "Seite"}, {5007, "MPunkt", "Punkt"},
    {5008, "LFehlt", "Fehlt"},  // no such control: ignored
};

struct Window {
  Window() {
    dlg.setObjectName("TTest");
    auto* v = new QVBoxLayout(&dlg);
    auto* bar = new QMenuBar(&dlg);
    item = bar->addMenu("M")->addAction("x");
    item->setObjectName("MPunkt");
    button = new QPushButton(&dlg);
    button->setObjectName("BKnopf");
    label = new QLabel(&dlg);
    label->setObjectName("LText");
    check = new QCheckBox(&dlg);
    check->setObjectName("CHaken");
    group = new QGroupBox(&dlg);
    group->setObjectName("GRahmen");
    tabs = new QTabWidget(&dlg);
    auto* page = new QWidget;
    page->setObjectName("PSeite");
    tabs->addTab(page, "?");
    for (QWidget* w :
         {static_cast<QWidget*>(button), static_cast<QWidget*>(label), static_cast<QWidget*>(check),
          static_cast<QWidget*>(group), static_cast<QWidget*>(tabs)})
      v->addWidget(w);
  }
  std::vector<QString> shown() const {
    return {dlg.windowTitle(), button->text(),   label->text(), check->text(),
            group->title(),    tabs->tabText(0), item->text()};
  }
  QDialog dlg;
  QAction* item;
  QPushButton* button;
  QLabel* label;
  QCheckBox* check;
  QGroupBox* group;
  QTabWidget* tabs;
};

TEST(Captions, GermanCaptionsThenTheLanguageFileIncludingEmptyTexts) {
  Window w;
  ApplyGermanCaptions(&w.dlg, kTable);
  EXPECT_EQ(w.shown(), (std::vector<QString>{"Testfenster", "Knopf", "Text", "Haken", "Rahmen",
                                             "Seite", "&Punkt"}));

  LanguageTexts texts;
  texts.lines = {"5001Test window", "5002 Button", "5003Text", "5004",
                 "5005Frame",       "5006Page",    "5007&Item"};
  ApplyCaptions(&w.dlg, kTable, texts);
  // A blank after the number stays; an empty text empties the caption; a
  // menu item's own mnemonic is kept.
  EXPECT_EQ(w.shown(),
            (std::vector<QString>{"Test window", " Button", "Text", "", "Frame", "Page", "&Item"}));

  ApplyCaptions(&w.dlg, kTable, LanguageTexts{});
  for (const QString& s : w.shown()) EXPECT_TRUE(s.isEmpty()) << s.toStdString();
}

}  // namespace
}  // namespace korvane
