#pragma once
// The main window: button bar, the left column for contour generation and NC
// output, four exchangeable views, status line with progress bar. It owns the
// one job of the application and hands it by reference to everything else.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/commands_ui.h"
#include "app/dialogs_ui.h"
#include "app/views_ui.h"
#include "core/parameters.h"
#include "core/convert.h"
#include "core/job.h"

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class QWidget;

namespace korvane {

class FScale;
class PictureView;
class TFBW;
class TFFilter;
class TFHkg;
class TFResize;
class TFConvert;
class TFDurchmesser;
class TFExport;
class TFSetup;
class QtTranslations;
class fimagepos;
enum class ParameterRerun;
class Tfmain;

// The progress report of the main window: status text, progress bar, a
// repaint of the conversion preview every ten percent, pending events.
class Verlaufstatus : public ProgressSink {
 public:
  explicit Verlaufstatus(Tfmain& w);
  void report(const std::string& text, int percent) override;
  bool showsPicture() const override;

 private:
  Tfmain& w_;
  std::string text_;  // the previous report
  QString shown_;     // text_ as the label takes it
  int percent_ = -1;
  QElapsedTimer sinceEvents_;  // since pending events were last processed
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
  JobEvents& events() { return events_; }
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
  PictureView* bild() const;
  TFConvert* convertDialog() const { return fconvert_; }
  TFSetup* setupDialog() const { return fsetup_; }
  TFExport* exportDialog() const { return fexport_; }
  QWidget* startWindow() const { return startWindow_; }
  // The command actions by objectName (nullptr for an unknown name).
  QAction* command(const char* name) const;

  // Commands.
  void SetButtons();
  void LockButtons(bool lock);
  void BImageClick() { showView(kPictureView); }
  void BProgramClick() { showView(kProgramView); }
  void BGrafikClick() { showView(kGraphicView); }
  void BBlankClick() { showView(kStockView); }
  void BTLoadClick();
  bool openPictureFile(const std::string& path);
  void Bildspeichern1Click();
  void BConvertClick();
  void EAussenClick(ContourType type);
  // The black-and-white dialog; false when it was refused or cancelled.
  bool BBwClick();
  void BHkgClick();
  void BEFilterClick();
  void BRot90Click();
  void BFlipVClick() { mirror(true); }
  void BFlipHClick() { mirror(false); }
  void BResizeClick();
  void SpeichernClick();
  // The editing commands of the NC editor.
  void Undo2Click();
  void Redo2Click();
  void CutClick();
  void copy1Click();
  void paste1Click();
  void BHelpClick();
  void BInfoClick();
  void MCloseClick() { close(); }
  void Einstellungen1Click();
  void MExportClick();
  void BNormalScaleClick();
  void BFindLinesClick();
  void BWayOptimizeClick();
  void BScaleClick();
  void BPositionClick();
  void BDurchmesserClick();
  // Show the program the builder wrote (editor text and counters).
  void showProgram(bool ok);
  // Rebuild after a list command: the shown program is void first.
  void rebuildProgram();

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
  class CurrentDialogs;
  class CurrentFiles;

  void buildMenu();
  QWidget* buildButtonBar();
  QWidget* buildLeftColumn();
  QWidget* buildViews();
  QWidget* buildStatusLine();
  // A push button that runs the command `action`; an empty caption gives a
  // glyph-only button, a null one the command's caption.
  QPushButton* commandButton(QWidget* parent, const char* name, const char* action,
                             const char* caption = nullptr);
  void FormShow();
  void showView(int index);
  void showStartWindow();
  void updateBwWarning();
  void showOffsets();
  // Shows a picture dialog modally below its tool-bar button; false when the
  // picture lock refuses.
  bool execBelow(QDialog* dlg, const char* button);
  void mirror(bool leftRight);
  void setImageSize(int32_t w, int32_t h);
  void pictureResized(int w, int h);
  // Runs the convert command and tells the views what came of it.
  void convert(bool rerun);
  // Whole-window input lock of the list-rewriting commands; the question
  // boxes they open stay usable.
  void setInputEnabled(bool enabled);
  // A parameter dialog asks for a silent re-run of the conversion.
  void rerun(ParameterRerun what);
  // The loaded settings into the running program: captions of every window
  // (when the language file loaded), Qt's own texts, and the views.
  void applySettings(bool languageLoaded);
  // The settings folder ($KORVANE_CONFIG_DIR, else under the documents folder).
  std::string configDir() const;

  Job job_;
  JobEvents events_;
  QtUserDialogs qtUi_;
  QtFileDialogs qtFiles_;
  UserDialogs* ui_;
  FileDialogs* files_;
  // Forwards to *ui_, so dialogs made once keep asking through whatever
  // dialogs are set later.
  std::unique_ptr<CurrentDialogs> currentUi_;
  std::unique_ptr<CurrentFiles> currentFiles_;
  std::unique_ptr<QtTranslations> qtTranslations_;
  Verlaufstatus progress_;
  std::unique_ptr<Host> host_;
  Commands* commands_ = nullptr;

  std::string startPicture_;
  bool startedWithArgs_;
  bool shownOnce_ = false;
  bool runShown_ = false;  // the conversion dialog ran during this command
  std::string pictureFile_;
  std::string programDir_;
  std::function<void(const std::string&, int)> progressHook_;

  // Controls the commands read or write.
  QWidget* panelMenue_ = nullptr;
  QWidget* panelLinks_ = nullptr;
  QWidget* pAnsicht_ = nullptr;
  QButtonGroup* contourGroup_ = nullptr;
  QPushButton* bAllowSwap_ = nullptr;
  QPushButton* bDurchmesser_ = nullptr;
  QLineEdit* eScale_ = nullptr;
  QLineEdit* eXVersatz_ = nullptr;
  QLineEdit* eYVersatz_ = nullptr;
  QLineEdit* eDurchmesser_ = nullptr;
  QLineEdit* eLAbstand_ = nullptr;
  QLabel* lMeldung_ = nullptr;
  QProgressBar* verlaufBar_ = nullptr;

  // The views in the order of MainViews(), with their view-bar buttons.
  std::vector<std::unique_ptr<View>> views_;
  std::vector<QToolButton*> viewButtons_;
  PictureViewPage* pictureView_ = nullptr;
  NcProgramView* programView_ = nullptr;

  TFConvert* fconvert_ = nullptr;
  TFBW* fbw_ = nullptr;
  TFHkg* fhkg_ = nullptr;
  TFFilter* ffilter_ = nullptr;
  TFResize* fresize_ = nullptr;
  // ImageX / ImageY: the picture size the scale, position and resize dialogs
  // work from. A resize changes it while the accepted image keeps its size.
  int32_t imageX_ = 0;
  int32_t imageY_ = 0;
  FScale* fscale_ = nullptr;
  fimagepos* fpos_ = nullptr;
  TFDurchmesser* fdurchmesser_ = nullptr;
  TFSetup* fsetup_ = nullptr;
  TFExport* fexport_ = nullptr;
  QWidget* startWindow_ = nullptr;
};

}  // namespace korvane
