#include "sim/prohteil_ui.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/numkeyfilter_ui.h"
#include "sim/ncgrafik_ui.h"

namespace korvane {

namespace {
constexpr int kAnzeigenText = 3201, kDeleteText = 3202, kInfoText = 3203, kCentreText = 3204;
}

TPRohteil::TPRohteil(QWidget* parent) : QWidget(parent) {
  EnsureSimIcons();
  setObjectName("PRohteil");
  auto* page = new QVBoxLayout(this);

  auto* shapes = new QHBoxLayout;
  auto* group = new QButtonGroup(this);
  group->setExclusive(true);
  struct ShapeButton {
    const char* name;
    const char* icon;
    const char* text;
    void (TPRohteil::*slot)();
  };
  const ShapeButton buttons[] = {
      {"QUADER1", "quader", "Quader", &TPRohteil::QUADER1Click},
      {"ZYL1", "zyl1", "Zylinder Z", &TPRohteil::ZYL1Click},
      {"ZYL2", "zyl2", "Zylinder X", &TPRohteil::ZYL2Click},
      {"ZYL3", "zyl3", "Zylinder Y", &TPRohteil::ZYL3Click},
  };
  for (int i = 0; i < 4; ++i) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(buttons[i].name));
    b->setText(QString::fromUtf8(buttons[i].text));
    b->setIcon(QIcon(QStringLiteral(":/sim/%1.svg").arg(QString::fromLatin1(buttons[i].icon))));
    b->setIconSize(QSize(40, 40));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setCheckable(true);
    group->addButton(b);
    shapes->addWidget(b);
    connect(b, &QToolButton::clicked, this, buttons[i].slot);
    shapeButtons_[i] = b;
  }
  shapes->addStretch(1);
  page->addLayout(shapes);

  const char* panelNames[] = {"PANELQUADER1", "PANELZYL1", "PANELZYL2", "PANELZYL3"};
  std::array<QGridLayout*, 4> grids{};
  for (int i = 0; i < 4; ++i) {
    panels_[i] = new QWidget(this);
    panels_[i]->setObjectName(QString::fromLatin1(panelNames[i]));
    grids[i] = new QGridLayout(panels_[i]);
    grids[i]->setColumnStretch(2, 1);
    page->addWidget(panels_[i]);
  }
  // The cylinder panels name their first two fields as the centre.
  for (int i = 0; i < 3; ++i) {
    centreLabels_[i] = new QLabel(QStringLiteral("Mittelpunkt"), panels_[i + 1]);
    centreLabels_[i]->setObjectName(QStringLiteral("LMittelpunkt%1").arg(i + 1));
    grids[i + 1]->addWidget(centreLabels_[i], 0, 0, 1, 2);
  }
  for (int f = 0; f < kStockFieldCount; ++f) {
    const StockFieldInfo& info = StockFieldOf(StockField(f));
    const int p = int(info.shape);
    QGridLayout* grid = grids[p];
    const int row = grid->rowCount();
    auto* label = new QLabel(QString::fromLatin1(info.label), panels_[p]);
    auto* edit = new QLineEdit(QString::fromLatin1(info.startText), panels_[p]);
    edit->setObjectName(QString::fromLatin1(info.name));
    edit->setMaximumWidth(100);
    NumKeyFilter::installOn(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    fields_[f] = edit;
  }

  LRInfo_ = new QLabel(QString::fromUtf8("Alle Angaben beziehen sich auf die Lage zum Nullpunkt - "
                                         "MINUS-Vorzeichen mit angeben!"),
                       this);
  LRInfo_->setObjectName("LRInfo");
  LRInfo_->setWordWrap(true);
  page->addWidget(LRInfo_);

  auto* commands = new QHBoxLayout;
  RAnzeigen_ = new QPushButton(QStringLiteral("Rohteil anzeigen"), this);
  RAnzeigen_->setObjectName("RAnzeigen");
  RDelete_ = new QPushButton(QString::fromUtf8("Rohteil löschen"), this);
  RDelete_->setObjectName("RDelete");
  connect(RAnzeigen_, &QPushButton::clicked, this, &TPRohteil::RAnzeigenClick);
  connect(RDelete_, &QPushButton::clicked, this, &TPRohteil::RDeleteClick);
  commands->addWidget(RAnzeigen_);
  commands->addWidget(RDelete_);
  commands->addStretch(1);
  page->addLayout(commands);
  page->addStretch(1);

  select(StockShape::Block);
}

StockTexts TPRohteil::texts() const {
  StockTexts t;
  for (int f = 0; f < kStockFieldCount; ++f) t[f] = fields_[f]->text().toStdString();
  return t;
}

void TPRohteil::applyCaptions(const StockCaptionLookup& lookup) {
  RAnzeigen_->setText(lookup(kAnzeigenText));
  RDelete_->setText(lookup(kDeleteText));
  LRInfo_->setText(lookup(kInfoText));
  for (int i = 0; i < 3; ++i) centreLabels_[i]->setText(lookup(kCentreText + i));
}

void TPRohteil::reset() {
  definition_.clear();
  select(StockShape::Block);
}

void TPRohteil::select(StockShape shape) {
  shape_ = shape;
  shapeButtons_[int(shape)]->setChecked(true);
  for (int i = 0; i < 4; ++i) panels_[i]->setVisible(i == int(shape));
}

void TPRohteil::RAnzeigenClick() {
  definition_ = StockDefinition(shape_, texts());
  emit definitionChanged(QString::fromStdString(definition_));
  emit showGraphic();
}

void TPRohteil::RDeleteClick() {
  definition_.clear();
  emit definitionChanged(QString());
  emit showGraphic();
}

}  // namespace korvane
