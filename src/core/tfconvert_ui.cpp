#include "core/tfconvert_ui.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "image/pictureview_ui.h"

namespace korvane {

TFConvert::TFConvert(Job& job, ConvertHost& host, UserDialogs& ui, ProgressSink& progress,
                     QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      job_(job),
      host_(host),
      ui_(ui),
      progress_(progress) {
  setObjectName(QStringLiteral("FConvert"));
  setWindowTitle(QStringLiteral("Kontur erstellen"));
  setModal(true);
  setFixedSize(665, 435);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  image_ = new PreviewView(
      job_.result, [this](int w, int h) { return PreviewScale(w, h, job_.result); }, this);
  image_->setObjectName(QStringLiteral("Image"));
  layout->addWidget(image_, 1);

  auto* bottom = new QWidget(this);
  bottom->setObjectName(QStringLiteral("PVerlauf"));
  bottom->setFixedHeight(37);
  bottom->setAutoFillBackground(true);
  QPalette pal = bottom->palette();
  pal.setColor(QPalette::Window, QColor(185, 220, 255));
  bottom->setPalette(pal);
  auto* row = new QHBoxLayout(bottom);
  row->setContentsMargins(0, 2, 0, 2);
  abbruch_ = new QPushButton(QStringLiteral("&Abbrechen"), bottom);
  abbruch_->setObjectName(QStringLiteral("BAbbruch"));
  abbruch_->setFixedSize(153, 33);
  abbruch_->setAutoDefault(false);
  row->addStretch();
  row->addWidget(abbruch_);
  row->addStretch();
  layout->addWidget(bottom);
  connect(abbruch_, &QPushButton::clicked, this, &TFConvert::BAbbruchClick);

  start_ = new QTimer(this);
  start_->setObjectName(QStringLiteral("Start"));
  start_->setSingleShot(true);
  start_->setInterval(200);
  connect(start_, &QTimer::timeout, this, &TFConvert::StartTimer);
}

void TFConvert::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // The work begins only once the dialog is on screen.
  if (!running_) start_->start();
}

void TFConvert::StartTimer() {
  start_->stop();
  running_ = true;
  emit runStarting();
  StartRun(job_, host_, ui_, progress_);
  running_ = false;
}

void TFConvert::BAbbruchClick() {
  if (running_) RequestCancel(job_, ui_);
}

// Escape or a window-manager close must not leave a run going with no dialog:
// while running they ask like the cancel button; the run closes the dialog.
void TFConvert::reject() {
  if (running_) {
    BAbbruchClick();
    return;
  }
  if (!start_->isActive()) QDialog::reject();
}

void TFConvert::closeEvent(QCloseEvent* e) {
  if (running_ || start_->isActive()) {
    e->ignore();
    if (running_) BAbbruchClick();
    return;
  }
  QDialog::closeEvent(e);
}

}  // namespace korvane
