#include "contour/tooldiameter_ui.h"
#include "core/parameters.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "base/spinfield_ui.h"

namespace korvane {

TFDurchmesser::TFDurchmesser(Job& job, QWidget* parent) : QDialog(parent), job_(job) {
  setObjectName(QStringLiteral("TFDurchmesser"));
  setWindowTitle(QStringLiteral("Werkzeugdurchmesser"));
  setWindowFlags(Qt::Tool);
  resize(241, 99);
  auto* grid = new QGridLayout(this);
  spin_ = MakeSpinField(this, "EDurchmesser", -9999999.0, 9999999.0);
  grid->addWidget(new QLabel(QStringLiteral("Durchmesser"), this), 0, 0);
  grid->addWidget(spin_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Millimeter"), this), 0, 2);
  auto* restore = new QPushButton(QStringLiteral("Abbrechen"), this);
  restore->setObjectName(QStringLiteral("BRestore"));
  auto* store = new QPushButton(QStringLiteral("Übernehmen"), this);
  store->setObjectName(QStringLiteral("BStore"));
  for (QPushButton* b : {restore, store}) b->setAutoDefault(false);
  grid->addWidget(restore, 1, 0);
  grid->addWidget(store, 1, 1, 1, 2);
  connect(store, &QPushButton::clicked, this, &TFDurchmesser::BStoreClick);
  connect(restore, &QPushButton::clicked, this, &TFDurchmesser::BRestoreClick);
}

void TFDurchmesser::showEvent(QShowEvent* e) {
  SetSpinQuietly(spin_, static_cast<double>(DiameterFromField(fieldText_)));
  QDialog::showEvent(e);
}

void TFDurchmesser::BStoreClick() {
  fieldText_ = DiameterFieldText(spin_->value());
  emit diameterTextChanged(QString::fromStdString(fieldText_));
  accept();
}

ParameterRerun TFDurchmesser::runCommand(const QWidget* button, const std::string& fieldText) {
  const std::string before = fieldText;
  fieldText_ = fieldText;
  PlaceBeside(this, button);
  exec();
  // The value as the field now shows it, read at full precision: 0.1 typed is
  // 0.1 in 80 bits, not the spin field's binary double.
  const ParameterRerun r =
      ToolDiameterChanged(job_, before, fieldText_, DiameterFromField(fieldText_));
  if (r != ParameterRerun::None) emit rerunNeeded(r);
  return r;
}

}  // namespace korvane
