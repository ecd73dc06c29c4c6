#pragma once
// The conversion dialog "Kontur erstellen": shows the result image while a
// contour method works on it and offers the cancel button. Its start timer
// begins the run once the dialog is on screen.
#include <QDialog>

#include "core/convert.h"

class QPushButton;
class QTimer;

namespace korvane {

class PreviewView;

class TFConvert : public QDialog {
  Q_OBJECT
 public:
  TFConvert(Job& job, ConvertHost& host, UserDialogs& ui, ProgressSink& progress,
            QWidget* parent = nullptr);

  PreviewView* image() const { return image_; }
  bool running() const { return running_; }

  void BAbbruchClick();

 signals:
  // Emitted just before the run starts (the NC editor is cleared then).
  void runStarting();

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent*) override;
  void closeEvent(QCloseEvent*) override;

 private:
  void StartTimer();

  Job& job_;
  ConvertHost& host_;
  UserDialogs& ui_;
  ProgressSink& progress_;
  PreviewView* image_;
  QPushButton* abbruch_;
  QTimer* start_;
  bool running_ = false;
};

}  // namespace korvane
