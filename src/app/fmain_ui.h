#pragma once
// The main window: button bar, the left column for contour generation and NC
// output, four exchangeable views, status line with progress bar. It owns the
// one job of the application and hands it by reference to everything else.
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "app/dialogs_ui.h"
#include "core/parameters.h"
#include "core/convert.h"
#include "core/job.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class QWidget;

namespace korvane {

class FScale;
class NcEditor;
class PProfil;
class PictureView;
class TFBW;
class TFConvert;
class TFDurchmesser;
class fimagepos;
enum class ParameterRerun;
class Tfmain;

// The progress report of the main window: status text, progress bar, a
// repaint of the conversion preview every ten percent, pending events.
class Verlaufstatus : public ProgressSink {
 public:
  explicit Verlaufstatus(Tfmain& w) : w_(w) {}
  void report(const std::string& text, int percent) override;
  bool showsPicture() const override;

 private:
  Tfmain& w_;
};

class Tfmain : public QMainWindow {
  Q_OBJECT
 public:
  // `startPicture`: a picture named on the command line (no start-up window
  // then); `startedWithArgs` tells whether any argument was given.
  explicit Tfmain(std::string startPicture = {}, bool startedWithArgs = false,
                  QWidget* parent = nullptr);
  ~Tfmain() override;

  Job& job() { return job_; }
  // Tests and the program's own hooks replace the dialogs with scripted ones.
  void setDialogs(UserDialogs* ui, FileDialogs* files);
  // Called after every progress report (the program's screenshot mode uses it).
  void setProgressHook(std::function<void(const std::string&, int)> hook) {
    progressHook_ = std::move(hook);
  }
  // The folder searched first for language and help files; the executable's
  // folder unless set before the window is shown.
  void setProgramDir(const std::string& dir) { programDir_ = dir; }
  UserDialogs& ui() { return *ui_; }
  ProgressSink& progress() { return progress_; }
  const std::string& pictureFile() const { return pictureFile_; }
  PictureView* bild() const { return bild_; }
  TFConvert* convertDialog() const { return fconvert_; }
  QWidget* startWindow() const { return startWindow_; }

  // Commands.
  void SetButtons();
  void LockButtons(bool lock);
  void BImageClick();
  void BProgramClick();
  void BGrafikClick();
  void BBlankClick();
  void BTLoadClick();
  bool openPictureFile(const std::string& path);
  void Bildspeichern1Click();
  void BConvertClick();
  void EAussenClick(ContourType type);
  void BBwClick();
  void SpeichernClick();
  void BHelpClick();
  void BInfoClick();
  void MCloseClick() { close(); }
  void BNormalScaleClick();
  void BFindLinesClick();
  void BWayOptimizeClick();
  void BScaleClick();
  void BPositionClick();
  void BDurchmesserClick();
  // Show the program the builder wrote (editor text and counters).
  void showProgram(bool ok);

  // Language text by number; empty when there is none.
  std::string LangText(int number) const;

 protected:
  void showEvent(QShowEvent*) override;
  void closeEvent(QCloseEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void dragEnterEvent(QDragEnterEvent*) override;
  void dropEvent(QDropEvent*) override;

 private:
  friend class Verlaufstatus;
  class Host;

  void buildMenu();
  QWidget* buildButtonBar();
  QWidget* buildLeftColumn();
  QWidget* buildViews();
  QWidget* buildStatusLine();
  void FormShow();
  void showView(QWidget* panel, QAbstractButton* button);
  void showStartWindow();
  void updateBwWarning();
  void applyCaptions();
  void showOffsets();
  // Whole-window input lock of the list-rewriting commands; the question
  // boxes they open stay usable.
  void setInputEnabled(bool enabled);
  // A parameter dialog asks for a silent re-run of the conversion.
  void rerun(ParameterRerun what);
  // The settings folder ($KORVANE_CONFIG_DIR, else under the documents folder).
  std::string configDir() const;

  Job job_;
  QtUserDialogs qtUi_;
  QtFileDialogs qtFiles_;
  UserDialogs* ui_;
  FileDialogs* files_;
  Verlaufstatus progress_;
  std::unique_ptr<Host> host_;

  std::string startPicture_;
  bool startedWithArgs_;
  bool shownOnce_ = false;
  std::string pictureFile_;
  std::string programDir_;
  std::function<void(const std::string&, int)> progressHook_;

  // Controls the commands read or write.
  QWidget* panelMenue_ = nullptr;
  QWidget* panelLinks_ = nullptr;
  QWidget* pAnsicht_ = nullptr;
  QButtonGroup* contourGroup_ = nullptr;
  QPushButton* eAussen_ = nullptr;
  QPushButton* eInnen_ = nullptr;
  QPushButton* eAbtasten_ = nullptr;
  QPushButton* eAbtastenn_ = nullptr;
  QPushButton* bConvert_ = nullptr;
  QPushButton* bScale_ = nullptr;
  QPushButton* bPosition_ = nullptr;
  QPushButton* bDurchmesser_ = nullptr;
  QPushButton* bWayOptimize_ = nullptr;
  QPushButton* bAllowSwap_ = nullptr;
  QPushButton* bFindLines_ = nullptr;
  QLineEdit* eScale_ = nullptr;
  QLineEdit* eXVersatz_ = nullptr;
  QLineEdit* eYVersatz_ = nullptr;
  QLineEdit* eDurchmesser_ = nullptr;
  QLineEdit* imageX_ = nullptr;
  QLineEdit* imageY_ = nullptr;
  QToolButton* bImage_ = nullptr;
  QToolButton* bProgram_ = nullptr;
  QToolButton* bGrafik_ = nullptr;
  QToolButton* bBlank_ = nullptr;
  QWidget* pImage_ = nullptr;
  QWidget* pProgramm_ = nullptr;
  QWidget* pGrafik_ = nullptr;
  QWidget* pRohteil_ = nullptr;
  PictureView* bild_ = nullptr;
  NcEditor* ncEditor_ = nullptr;
  PProfil* pProfil_ = nullptr;
  QWidget* panelBildMenue_ = nullptr;
  QPushButton* bBw_ = nullptr;
  QLineEdit* eLAbstand_ = nullptr;
  QLineEdit* eZeilen_ = nullptr;
  QLineEdit* eZeichen_ = nullptr;
  QLineEdit* eMaxWeg_ = nullptr;
  QLabel* lMeldung_ = nullptr;
  QProgressBar* verlaufBar_ = nullptr;
  TFConvert* fconvert_ = nullptr;
  TFBW* fbw_ = nullptr;
  FScale* fscale_ = nullptr;
  fimagepos* fpos_ = nullptr;
  TFDurchmesser* fdurchmesser_ = nullptr;
  QWidget* startWindow_ = nullptr;
};

}  // namespace korvane
