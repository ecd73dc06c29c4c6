#include "image/tfbw_ui.h"
#include "core/picturejob.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

#include "image/blackwhite.h"

namespace korvane {

TFBW::TFBW(Job& job, QWidget* parent)
    : ImageEditDialog(job.working, job.accepted, parent), job_(job) {
  MakeToolWindow(*this, "TFBW");
  setWindowTitle(QStringLiteral("Konvertierung Schwarz/Weiss"));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Schwelle"), this), 0, 0, 1, 2);
  gaugeBar_ = new QSlider(Qt::Horizontal, this);
  gaugeBar_->setObjectName(QStringLiteral("GaugeBar1"));
  gaugeBar_->setRange(0, 255);
  gaugeBar_->setValue(kDefaultThreshold);
  grid->addWidget(gaugeBar_, 1, 0, 1, 2);
  // The threshold as a number, so that a good value can be found again.
  auto* value = new QLabel(QString::number(kDefaultThreshold), this);
  value->setObjectName(QStringLiteral("LSchwelleWert"));
  value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("888")));
  value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(value, 1, 2);
  connect(gaugeBar_, &QSlider::valueChanged, value, [value](int t) { value->setNum(t); });
  auto* restore = new QPushButton(QStringLiteral("Abbrechen"), this);
  restore->setObjectName(QStringLiteral("BRestore"));
  auto* store = new QPushButton(QStringLiteral("Übernehmen"), this);
  store->setObjectName(QStringLiteral("BStore"));
  for (QPushButton* b : {restore, store}) b->setAutoDefault(false);
  grid->addWidget(restore, 2, 0);
  grid->addWidget(store, 2, 1, 1, 2);
  // Wide enough for the whole caption beside the window frame's own parts.
  setMinimumWidth(std::max(260, fontMetrics().horizontalAdvance(windowTitle()) + 120));

  connect(gaugeBar_, &QSlider::valueChanged, this, &TFBW::GaugeBar1Change);
  connect(store, &QPushButton::clicked, this, &TFBW::BStoreClick);
  connect(restore, &QPushButton::clicked, this, &TFBW::BRestoreClick);
}

void TFBW::showEvent(QShowEvent* e) {
  FormShow();
  ImageEditDialog::showEvent(e);
}

void TFBW::FormShow() {
  filling_ = true;
  gaugeBar_->setRange(0, 255);
  gaugeBar_->setValue(kDefaultThreshold);
  filling_ = false;
  // Accepted image := working image, preview at the default threshold.
  BeginBlackWhite(job_);
  emit pictureChanged();
}

void TFBW::GaugeBar1Change(int t) {
  if (filling_) return;
  PreviewThreshold(job_, t);
  emit pictureChanged();
}

}  // namespace korvane
