#pragma once
// The setup dialog: page "Programm" with the general settings and one page for
// the shown NC output profile, with a preview of the program that profile
// writes. Only its save command writes the settings files.
#include <QDialog>
#include <QFrame>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/job.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;

namespace korvane {

class FileDialogs;
class UserDialogs;

// Language text by number (the caption table's lookup).
using CaptionLookup = std::function<std::string(int)>;

// Where the store's files and the language files are.
struct SetupPaths {
  std::string configDir;
  std::string exeDir;  // the program's folder: language files, folder chooser fallback
  std::string dataDir = KORVANE_DATADIR;
};

// The first `maxLines` lines of the NC program `profile` would write for the
// accepted contour of `job` (with its scale, offsets and join gap), or for a
// 10 mm square when no contour is accepted, through the NC builder; nothing
// of `job` changes. Empty with `error` set when the build fails.
std::vector<std::string> PreviewProgramLines(const Profile& profile, const Job& job,
                                             std::size_t maxLines, std::string& error);

// A colour field; a mouse press asks for a new colour.
class ColourSwatch : public QFrame {
  Q_OBJECT
 public:
  explicit ColourSwatch(QWidget* parent);
  int32_t colour() const { return colour_; }
  void setColour(int32_t colour);
 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* e) override;

 private:
  int32_t colour_ = 0;
};

class TFSetup : public QDialog {
  Q_OBJECT
 public:
  TFSetup(Job& job, SetupPaths paths, UserDialogs& ui, FileDialogs& files,
          CaptionLookup caption = {}, std::function<void()> help = {}, QWidget* parent = nullptr);
  ~TFSetup() override;

  // Shows page "Programm" with no profile page visited; the controls keep
  // what they held when the dialog was last closed.
  void FormShow();
  // The general settings of the job into page "Programm" (after every load).
  void loadGeneral();
  // Every caption from the language texts, the empty ones included.
  void applyCaptions();
  int shownProfilePage() const { return shownPage_; }

  void PClick(int page);
  void MPClick();
  void SpeichernClick();
  void AbbrechenClick() { reject(); }
  void HilfeClick();

 signals:
  // The files were written and loaded again.
  void settingsSaved();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QWidget* buildProgramPage();
  QWidget* buildProfilePage();
  void loadPage(int page);
  void storePage(int page);
  Profile profileFromControls() const;
  void storeGeneral();
  void chooseFolder(QLineEdit* field);
  void chooseColour(ColourSwatch* swatch);
  void fillLanguages();
  void updatePreview();

  Job& job_;
  SetupPaths paths_;
  UserDialogs& ui_;
  FileDialogs& files_;
  CaptionLookup caption_;
  std::function<void()> help_;
  int shownPage_ = 0;
  bool loading_ = false;

  QStackedWidget* pages_ = nullptr;
  QWidget* programPage_ = nullptr;
  QWidget* profilePage_ = nullptr;
  QButtonGroup* pageButtons_ = nullptr;
  // Page "Programm".
  QLineEdit* eZieldir_ = nullptr;
  QLineEdit* eVorlagenDir_ = nullptr;
  QLineEdit* eAufloesung_ = nullptr;
  std::vector<QRadioButton*> standard_;
  std::vector<QRadioButton*> views_;  // XY, XZ, YZ, XYZ
  QPushButton* axisButt_ = nullptr;
  QPushButton* g0Butt_ = nullptr;
  ColourSwatch* hg_ = nullptr;
  ColourSwatch* achsen_ = nullptr;
  ColourSwatch* vorschub_ = nullptr;
  ColourSwatch* aVorschub_ = nullptr;
  ColourSwatch* eilgang_ = nullptr;
  ColourSwatch* rohteil_ = nullptr;
  QComboBox* sprache_ = nullptr;
  // Profile page.
  QLineEdit* eeProfil_ = nullptr;
  QLineEdit* eeStellen_ = nullptr;
  QLineEdit* eeNachkomma_ = nullptr;
  QCheckBox* eeDeziPunkt_ = nullptr;
  QCheckBox* eeNCPunkt_ = nullptr;
  QCheckBox* eeVNullen_ = nullptr;
  QCheckBox* eeNNullen_ = nullptr;
  QCheckBox* eeVorzeichen_ = nullptr;
  QLineEdit* eeRebene_ = nullptr;
  QLineEdit* eeZebene_ = nullptr;
  QLineEdit* eeVorschubZ_ = nullptr;
  QLineEdit* eeVorschubXY_ = nullptr;
  QCheckBox* eeSatznum_ = nullptr;
  QLineEdit* eeSatzzeichen_ = nullptr;
  QLineEdit* eeSatzschritt_ = nullptr;
  QLineEdit* eeStart_ = nullptr;
  QLineEdit* eeSuffix_ = nullptr;
  QTabWidget* tabSyntax_ = nullptr;
  std::vector<QPlainTextEdit*> syntax_;  // in template order
  QPlainTextEdit* preview_ = nullptr;
};

}  // namespace korvane
