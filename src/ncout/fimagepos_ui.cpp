#include "ncout/fimagepos_ui.h"
#include "core/parameters.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/spinfield_ui.h"

namespace korvane {

namespace {

struct PlacementButton {
  const char* name;
  Placement placement;
  const char* glyph;  // stands in for the button's picture
  const char* hint;
  int row, column;
};

constexpr PlacementButton kPlacementButtons[] = {
    {"BLO", Placement::kTopLeft, "\u250c", "Position oben links", 0, 0},
    {"BRO", Placement::kTopRight, "\u2510", "Position oben rechts", 0, 2},
    {"BM", Placement::kCentre, "\u253c", "Position Mitte", 1, 1},
    {"BLU", Placement::kBottomLeft, "\u2514", "Position unten links", 2, 0},
    {"BRU", Placement::kBottomRight, "\u2518", "Position unten rechts", 2, 2},
};

}  // namespace

fimagepos::fimagepos(Job& job, QWidget* parent) : QDialog(parent), job_(job) {
  setObjectName(QStringLiteral("fimagepos"));
  setWindowTitle(QStringLiteral("Position"));
  auto* grid = new QGridLayout(this);

  startX_ = MakeSpinField(this, "StartX", static_cast<double>(PositionDialogModel::kMin),
                          static_cast<double>(PositionDialogModel::kMax));
  startY_ = MakeSpinField(this, "StartY", static_cast<double>(PositionDialogModel::kMin),
                          static_cast<double>(PositionDialogModel::kMax));
  endX_ = new QLineEdit(this);
  endX_->setObjectName(QStringLiteral("EndX"));
  endY_ = new QLineEdit(this);
  endY_->setObjectName(QStringLiteral("EndY"));
  for (QLineEdit* e : {endX_, endY_}) e->setReadOnly(true);

  grid->addWidget(new QLabel(QStringLiteral("Startposition"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Endposition"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("X-Achse"), this), 1, 0);
  grid->addWidget(startX_, 1, 1);
  grid->addWidget(endX_, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Y-Achse"), this), 2, 0);
  grid->addWidget(startY_, 2, 1);
  grid->addWidget(endY_, 2, 2);
  grid->addWidget(new QLabel(QStringLiteral("Millimeter"), this), 3, 1);

  auto* placeGrid = new QGridLayout;
  placements_ = new QButtonGroup(this);
  // At most one down; clicking the one that is down releases it, so that a
  // scale change keeps the offsets (an exclusive group could not do that).
  placements_->setExclusive(false);
  for (const PlacementButton& p : kPlacementButtons) {
    auto* b = new QPushButton(QString::fromUtf8(p.glyph), this);
    b->setObjectName(QString::fromLatin1(p.name));
    b->setToolTip(QString::fromUtf8(p.hint));
    b->setCheckable(true);
    b->setAutoDefault(false);
    b->setFixedSize(28, 28);
    placements_->addButton(b, static_cast<int>(p.placement));
    placeGrid->addWidget(b, p.row, p.column);
  }
  grid->addLayout(placeGrid, 0, 3, 4, 1);
  setPlacement(Placement::kCentre);

  auto* restore = new QPushButton(QStringLiteral("Abbrechen"), this);
  restore->setObjectName(QStringLiteral("BRestore"));
  auto* store = new QPushButton(QStringLiteral("Übernehmen"), this);
  store->setObjectName(QStringLiteral("BStore"));
  for (QPushButton* b : {restore, store}) b->setAutoDefault(false);
  grid->addWidget(restore, 4, 1);
  grid->addWidget(store, 4, 2);

  connect(startX_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
    if (filling_) return;
    model_.setStartX(v);
    showEnd();
  });
  connect(startY_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
    if (filling_) return;
    model_.setStartY(v);
    showEnd();
  });
  connect(placements_, &QButtonGroup::idClicked, this, &fimagepos::placementClicked);
  connect(store, &QPushButton::clicked, this, &fimagepos::BStoreClick);
  connect(restore, &QPushButton::clicked, this, &fimagepos::BRestoreClick);
}

void fimagepos::setPictureSize(int32_t w, int32_t h) {
  w_ = w;
  h_ = h;
}

void fimagepos::setPlacement(Placement p) {
  model_.setPlacement(p);
  for (QAbstractButton* b : placements_->buttons())
    b->setChecked(placements_->id(b) == static_cast<int>(p));
}

void fimagepos::pressCentre(int32_t w, int32_t h) {
  setPictureSize(w, h);
  filling_ = true;
  model_.show({job_.xOffsetText, job_.yOffsetText}, job_.scale, w_, h_);
  filling_ = false;
  setPlacement(Placement::kCentre);
  placementClicked(static_cast<int>(Placement::kCentre));
}

void fimagepos::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void fimagepos::FormShow() {
  filling_ = true;
  model_.show({job_.xOffsetText, job_.yOffsetText}, job_.scale, w_, h_);
  showStart();
  showEnd();
  filling_ = false;
}

void fimagepos::showStart() {
  SetSpinQuietly(startX_, static_cast<double>(model_.start().x));
  SetSpinQuietly(startY_, static_cast<double>(model_.start().y));
}

void fimagepos::showEnd() {
  endX_->setText(QString::fromStdString(model_.endXText()));
  endY_->setText(QString::fromStdString(model_.endYText()));
}

void fimagepos::placementClicked(int id) {
  if (QAbstractButton* b = placements_->button(id); b && !b->isChecked()) {
    setPlacement(Placement::kNone);  // released: the offsets stay as they are
    return;
  }
  setPlacement(static_cast<Placement>(id));
  model_.place(static_cast<Placement>(id));
  showStart();
  showEnd();
}

void fimagepos::BStoreClick() {
  SetOffsets(job_, model_.apply());
  emit offsetsChanged();
  if (job_.contourAccepted) emit convertRequested();
  accept();
}

bool fimagepos::runCommand(const QWidget* button, int32_t w, int32_t h) {
  setPictureSize(w, h);
  PlaceBeside(this, button);
  return exec() == QDialog::Accepted;
}

}  // namespace korvane
