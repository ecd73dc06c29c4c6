#include "ncout/pprofil_ui.h"
#include "core/jobsettings.h"
#include "core/parameters.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "settings/activate.h"
#include "base/numkeyfilter_ui.h"
#include "ncout/outparams.h"
#include "settings/widgets_ui.h"

namespace korvane {

namespace {

QPushButton* SmallButton(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setFixedWidth(28);
  b->setAutoDefault(false);
  return b;
}

QLineEdit* Field(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  return e;
}

}  // namespace

PProfil::PProfil(Job& job, QWidget* parent) : QWidget(parent), job_(job) {
  setObjectName(QStringLiteral("PProfil"));
  auto* grid = new QGridLayout(this);

  auto* buttons = new QHBoxLayout;
  profiles_ = new QButtonGroup(this);
  profiles_->setExclusive(true);
  for (int k = 1; k <= 4; ++k) {
    auto* b = new QPushButton(QString::number(k), this);
    b->setObjectName(QStringLiteral("Profil%1").arg(k));
    b->setCheckable(true);
    b->setAutoDefault(false);
    profiles_->addButton(b, k);
    buttons->addWidget(b);
  }
  connect(profiles_, &QButtonGroup::idClicked, this, &PProfil::activateProfile);
  grid->addLayout(buttons, 0, 0, 1, 4);

  name_ = Field(this, "NCProfilname");
  name_->setReadOnly(true);
  grid->addWidget(name_, 1, 0, 1, 4);

  rEbene_ = Field(this, "REbeneauswahl");
  zEbene_ = Field(this, "ZEbeneauswahl");
  vorschubZ_ = Field(this, "EVorschubZ");
  vorschubXY_ = Field(this, "EVorschubXY");
  auto* rMinus = SmallButton(this, "RMinus", QStringLiteral("-"));
  auto* rPlus = SmallButton(this, "RPlus", QStringLiteral("+"));
  auto* zMinus = SmallButton(this, "ZMinus", QStringLiteral("-"));
  auto* zPlus = SmallButton(this, "ZPlus", QStringLiteral("+"));
  rMinus->setToolTip(QStringLiteral("Sicherheitsabstand verringern"));
  rPlus->setToolTip(QStringLiteral("Sicherheitsabstand erhöhen"));
  zMinus->setToolTip(QStringLiteral("Zustelltiefe verringern"));
  zPlus->setToolTip(QStringLiteral("Zustelltiefe erhöhen"));

  grid->addWidget(Label(this, "LRAbstand", QStringLiteral("Sicherheitsabstand (R)")), 2, 0, 1, 4);
  grid->addWidget(rMinus, 3, 0);
  grid->addWidget(rEbene_, 3, 1, 1, 2);
  grid->addWidget(rPlus, 3, 3);
  grid->addWidget(Label(this, "LZAbstand", QStringLiteral("Zustelltiefe (Z)")), 4, 0, 1, 4);
  grid->addWidget(zMinus, 5, 0);
  grid->addWidget(zEbene_, 5, 1, 1, 2);
  grid->addWidget(zPlus, 5, 3);
  grid->addWidget(Label(this, "LZVorschub", QStringLiteral("Vorschub Z")), 6, 0, 1, 4);
  grid->addWidget(vorschubZ_, 7, 0, 1, 4);
  grid->addWidget(Label(this, "LXYVorschub", QStringLiteral("Vorschub XY")), 8, 0, 1, 4);
  grid->addWidget(vorschubXY_, 9, 0, 1, 4);

  convertNew_ = new QPushButton(QStringLiteral("Erstelle NC-Programm  ..."), this);
  convertNew_->setObjectName(QStringLiteral("BConvertNew"));
  convertNew_->setEnabled(false);
  grid->addWidget(convertNew_, 10, 0, 1, 4);
  grid->setRowStretch(11, 1);

  connect(rMinus, &QPushButton::clicked, this, &PProfil::RMinusClick);
  connect(rPlus, &QPushButton::clicked, this, &PProfil::RPlusClick);
  connect(zMinus, &QPushButton::clicked, this, &PProfil::ZMinusClick);
  connect(zPlus, &QPushButton::clicked, this, &PProfil::ZPlusClick);
  for (QLineEdit* e : {rEbene_, zEbene_, vorschubZ_, vorschubXY_}) {
    connect(e, &QLineEdit::textChanged, this, &PProfil::fieldsChanged);
  }
  connect(name_, &QLineEdit::textChanged, this,
          [this] { convertNew_->setEnabled(job_.contourAccepted); });
  connect(convertNew_, &QPushButton::clicked, this, &PProfil::convertRequested);
  // Only the retract height and the depth are numbers; the feed texts reach
  // the NC program exactly as typed, so they are not filtered.
  NumKeyFilter::installOn(rEbene_);
  NumKeyFilter::installOn(zEbene_);
}

void PProfil::activateProfile(int k) {
  // By number, not by key: a key "1" would also match a profile named "1",
  // and the last match would win, so button 1 could show another profile.
  ActivateProfile(job_, k);
  fillFromActive();
}

void PProfil::fillFromActive() {
  // The buttons only show the number; the hint names the profile.
  for (int k = 1; k <= 4; ++k) {
    if (QAbstractButton* b = profiles_->button(k))
      b->setToolTip(QString::fromStdString(job_.profiles[static_cast<size_t>(k - 1)].Profil));
  }
  filling_ = true;
  showActiveName();
  const PanelValues v = PanelValuesFromActive(job_);
  rEbene_->setText(QString::fromStdString(v.REbene));
  zEbene_->setText(QString::fromStdString(v.ZEbene));
  vorschubZ_->setText(QString::fromStdString(v.VorschubZ));
  vorschubXY_->setText(QString::fromStdString(v.VorschubXY));
  filling_ = false;
}

void PProfil::showActiveName() {
  const int k = job_.active.number;
  if (k < 1 || k > 4) return;
  if (QAbstractButton* b = profiles_->button(k)) b->setChecked(true);
  name_->setText(QString::fromStdString(job_.profiles[static_cast<size_t>(k - 1)].Profil));
}

void PProfil::fieldsChanged() {
  if (filling_ || !isVisible()) return;
  const bool enable = PanelValuesChanged(
      job_, {rEbene_->text().toStdString(), zEbene_->text().toStdString(),
             vorschubZ_->text().toStdString(), vorschubXY_->text().toStdString()});
  convertNew_->setEnabled(enable);
}

void PProfil::step(QLineEdit* field, int direction) {
  if (auto v = StepValue(field->text().toStdString(), direction)) {
    field->setText(QString::fromStdString(*v));
  }
}

}  // namespace korvane
