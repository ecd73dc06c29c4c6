#include "app/fmain_ui.h"
#include "core/jobsettings.h"
#include "core/picturejob.h"
#include "core/parameters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "app/ncsave.h"
#include "base/numtext.h"
#include "base/spinfield_ui.h"
#include "contour/linefollow.h"
#include "contour/pathopt.h"
#include "contour/tooldiameter.h"
#include "contour/tooldiameter_ui.h"
#include "core/postprocess.h"
#include "core/tfconvert_ui.h"
#include "editor/nceditor_ui.h"
#include "export/fexport_ui.h"
#include "image/blackwhite.h"
#include "image/decode.h"
#include "image/picture_file.h"
#include "image/pictureview_ui.h"
#include "core/jobstate.h"
#include "image/imageops.h"
#include "image/picturesave.h"
#include "image/tfbw_ui.h"
#include "image/tffilter_ui.h"
#include "image/tfhkg_ui.h"
#include "image/tfresize_ui.h"
#include "ncout/fimagepos_ui.h"
#include "ncout/fscale_ui.h"
#include "ncout/outparams.h"
#include "ncout/pprofil_ui.h"
#include "settings/activate.h"
#include "settings/captions_ui.h"
#include "settings/configdir.h"
#include "settings/fsetup_ui.h"
#include "settings/language.h"
#include "settings/qttranslations_ui.h"
#include "settings/settings.h"
#include "settings/widgets_ui.h"

// The icons live in a static library; their resource must be registered by hand.
static void InitIconResource() { Q_INIT_RESOURCE(app_icons); }

namespace korvane {

namespace {

// A progress report that changes nothing on screen still processes pending
// events when this much time has passed since they were last processed.
constexpr qint64 kEventSliceMs = 10;

// Panel colours: light blue for every panel, as the window was designed.
const QColor kLightBlue(185, 220, 255);

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The picture dialogs' file-type list in the form the file choosers take.
std::vector<FileFilter> PictureFilters() {
  std::vector<FileFilter> out;
  for (const PictureFileFilter& f : PictureFileFilters()) {
    std::string patterns;
    for (const std::string& p : f.patterns) patterns += (patterns.empty() ? "" : ";") + p;
    out.push_back({f.text, patterns});
  }
  return out;
}

// The window shown at start that offers to open a picture.
class StartWindow : public QWidget {
 public:
  StartWindow(QWidget* parent, std::function<void()> open)
      : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FStart"));
    setFixedSize(467, 263);
    QPixmap pm(467, 263);
    pm.fill(Qt::white);
    QPainter p(&pm);
    QSvgRenderer(QStringLiteral(":/icons/start.svg")).render(&p);
    p.end();
    auto* pic = new QLabel(this);
    pic->setObjectName(QStringLiteral("StartBild"));
    pic->setPixmap(pm);
    pic->setGeometry(0, 0, 467, 263);
    QPushButton* b = Button(this, "BTLoad", QStringLiteral("Bilddatei öffnen ..."), "open");
    b->setGeometry(467 - 200, 263 - 48, 184, 32);
    connect(b, &QPushButton::clicked, this, std::move(open));
  }
};

// Version, licence and the libraries the program is built on.
class InfoDialog : public QDialog {
 public:
  explicit InfoDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FInfo"));
    setWindowTitle(QStringLiteral("Info – Korvane " KORVANE_VERSION));
    auto* l = new QVBoxLayout(this);
    auto* text = Label(this, "LInfo",
                       QStringLiteral("<h3>Korvane %1</h3>"
                                      "<p>Vom Rasterbild zum NC-Programm.</p>"
                                      "<p>Lizenz: GPL-3.0-or-later</p>"
                                      "<p>Verwendete Bibliotheken: Qt %2, libjpeg, libpng, libwmf, "
                                      "libemf2svg, librsvg</p>")
                           .arg(QStringLiteral(KORVANE_VERSION), QString::fromLatin1(qVersion())));
    text->setTextFormat(Qt::RichText);
    l->addWidget(text);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    l->addWidget(box);
  }
};

}  // namespace

Verlaufstatus::Verlaufstatus(Tfmain& w) : w_(w) { sinceEvents_.start(); }

void Verlaufstatus::report(const std::string& text, int percent) {
  // A pass over millions of records repeats one text and percentage thousands
  // of times. Only a change repaints the preview, and pending events are
  // processed on a change or once a slice of time has passed: the window
  // answers as before, without a round of event processing per record.
  const bool textChanged = text != text_;
  const bool changed = textChanged || percent != percent_;
  if (textChanged) {
    text_ = text;
    shown_ = Q(text);
  }
  if (w_.lMeldung_->text() != shown_) w_.lMeldung_->setText(shown_);
  w_.verlaufBar_->setValue(percent);
  if (changed) {
    percent_ = percent;
    if (percent % 10 == 0 && w_.fconvert_ && w_.fconvert_->isVisible())
      w_.fconvert_->image()->pictureChanged();
  }
  if (changed || sinceEvents_.elapsed() >= kEventSliceMs) {
    QCoreApplication::processEvents();
    sinceEvents_.restart();
  }
  if (w_.progressHook_) w_.progressHook_(text, percent);
}

bool Verlaufstatus::showsPicture() const { return w_.fconvert_ && w_.fconvert_->isVisible(); }

// What the conversion run needs from the windows.
class Tfmain::Host : public ConvertHost {
 public:
  explicit Host(Tfmain& w) : w_(w) {}
  bool runBlackWhite() override { return w_.BBwClick(); }
  void runConversionDialog() override {
    w_.runShown_ = true;
    w_.fconvert_->exec();
  }
  void hideDialog() override { w_.fconvert_->hide(); }
  void workingImageChanged() override { emit w_.events_.pictureChanged(); }
  void buildStarting() override { emit w_.events_.buildStarting(); }
  void programBuilt(bool ok) override { w_.showProgram(ok); }
  void showFittedGraphic() override { w_.BGrafikClick(); }
  void closeDialog() override { w_.fconvert_->accept(); }

 private:
  Tfmain& w_;
};

class Tfmain::CurrentDialogs : public UserDialogs {
 public:
  explicit CurrentDialogs(Tfmain& w) : w_(w) {}
  bool ask(const std::string& t) override { return w_.ui_->ask(t); }
  bool confirm(const std::string& t) override { return w_.ui_->confirm(t); }
  void message(const std::string& t) override { w_.ui_->message(t); }

 private:
  Tfmain& w_;
};

// The same forwarding for the file, folder and colour choosers.
class Tfmain::CurrentFiles : public FileDialogs {
 public:
  explicit CurrentFiles(Tfmain& w) : w_(w) {}
  std::string openPicture(const FileRequest& r) override { return w_.files_->openPicture(r); }
  std::string savePicture(const FileRequest& r) override { return w_.files_->savePicture(r); }
  std::string saveNcProgram(const FileRequest& r) override { return w_.files_->saveNcProgram(r); }
  bool openDocument(const std::string& path) override { return w_.files_->openDocument(path); }
  std::string saveExport(const FileRequest& r) override { return w_.files_->saveExport(r); }
  std::string chooseFolder(const FolderRequest& r) override { return w_.files_->chooseFolder(r); }
  std::optional<int32_t> chooseColour(int32_t c) override { return w_.files_->chooseColour(c); }

 private:
  Tfmain& w_;
};

Tfmain::Tfmain(std::string startPicture, bool startedWithArgs, QWidget* parent)
    : QMainWindow(parent),
      qtUi_(this),
      qtFiles_(this),
      ui_(&qtUi_),
      files_(&qtFiles_),
      currentUi_(std::make_unique<CurrentDialogs>(*this)),
      currentFiles_(std::make_unique<CurrentFiles>(*this)),
      qtTranslations_(std::make_unique<QtTranslations>(this)),
      progress_(*this),
      host_(std::make_unique<Host>(*this)),
      startPicture_(std::move(startPicture)),
      startedWithArgs_(startedWithArgs),
      programDir_(QCoreApplication::applicationDirPath().toStdString()) {
  InitIconResource();
  InitImageIcons();
  job_.keepMoveText = false;  // the views replay the parsed records only
  setObjectName(QStringLiteral("fmain"));
  setWindowTitle(QStringLiteral("Korvane"));
  setMinimumSize(720, 685);
  setAcceptDrops(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kLightBlue);
  setPalette(pal);
  setAutoFillBackground(true);

  commands_ = new Commands(*this);
  buildMenu();
  auto* central = Panel(this, "PanelMain");
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  v->addWidget(buildButtonBar());
  auto* oben = Panel(central, "PanelOben");
  auto* h = new QHBoxLayout(oben);
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(0);
  h->addWidget(buildLeftColumn());
  h->addWidget(buildViews(), 1);
  v->addWidget(oben, 1);
  v->addWidget(buildStatusLine());
  setCentralWidget(central);

  // The dialogs exist from the start, in the order the program always made them.
  startWindow_ = new StartWindow(this, [this] { BTLoadClick(); });
  fconvert_ = new TFConvert(job_, *host_, *currentUi_, progress_, this);
  connect(fconvert_, &TFConvert::runStarting, &events_, &JobEvents::runStarted);
  fbw_ = new TFBW(job_, this);
  connect(fbw_, &TFBW::pictureChanged, &events_, &JobEvents::pictureChanged);
  connect(fbw_, &TFBW::bwWarningChanged, bild()->bwWarning(), &QWidget::setVisible);
  const CaptionLookup captions;  // German until the language file is applied
  fhkg_ = new TFHkg(job_.working, job_.accepted, captions, this);
  ffilter_ = new TFFilter(job_.working, job_.accepted, captions, this);
  fresize_ = new TFResize(
      job_.working,
      [this] { return std::pair{std::to_string(imageX_), std::to_string(imageY_)}; }, captions,
      this);
  for (ImageEditDialog* d : {static_cast<ImageEditDialog*>(fhkg_),
                             static_cast<ImageEditDialog*>(ffilter_)}) {
    connect(d, &ImageEditDialog::pictureChanged, &events_, &JobEvents::pictureChanged);
    connect(d, &ImageEditDialog::bwWarningChanged, bild()->bwWarning(), &QWidget::setVisible);
  }
  connect(fresize_, &TFResize::pictureChanged, &events_, &JobEvents::pictureChanged);
  connect(fresize_, &TFResize::resized, this, &Tfmain::pictureResized);
  fscale_ = new FScale(job_, this);
  connect(fscale_, &FScale::scaleTextChanged, eScale_, &QLineEdit::setText);
  connect(fscale_, &FScale::offsetsChanged, this, &Tfmain::showOffsets);
  connect(fscale_, &FScale::lineSpacingChanged, eLAbstand_, &QLineEdit::setText);
  connect(fscale_, &FScale::rerunNeeded, this, &Tfmain::rerun);
  fpos_ = new fimagepos(job_, this);
  connect(fpos_, &fimagepos::offsetsChanged, this, &Tfmain::showOffsets);
  connect(fpos_, &fimagepos::convertRequested, this, &Tfmain::BConvertClick);
  fdurchmesser_ = new TFDurchmesser(job_, this);
  connect(fdurchmesser_, &TFDurchmesser::diameterTextChanged, eDurchmesser_, &QLineEdit::setText);
  connect(fdurchmesser_, &TFDurchmesser::rerunNeeded, this, &Tfmain::rerun);
  fexport_ = new TFExport(job_, *currentUi_, *currentFiles_, progress_,
                          [this](int number) { return LangText(number); }, this);
  // The setup dialog reads the loaded settings: it is made at the first show.
  // The captions as designed come from the same table a language file fills.
  ApplyGermanCaptions(this, MainWindowCaptions());
}

Tfmain::~Tfmain() = default;

PictureView* Tfmain::bild() const { return pictureView_->bild(); }

QAction* Tfmain::command(const char* name) const { return commands_->action(name); }

void Tfmain::setDialogs(UserDialogs* ui, FileDialogs* files) {
  ui_ = ui ? ui : &qtUi_;
  files_ = files ? files : &qtFiles_;
}

QPushButton* Tfmain::commandButton(QWidget* parent, const char* name, const char* action,
                                   const char* caption) {
  const CommandRow* row = nullptr;
  for (const CommandRow& r : MainCommands())
    if (std::string_view(r.name) == action) row = &r;
  QString text = caption ? QString::fromUtf8(caption) : QString::fromUtf8(row->german);
  text.remove('&');  // the mnemonic belongs to the menu item
  QPushButton* b = Button(parent, name, text, row->icon);
  Commands::bind(b, command(action));
  return b;
}

void Tfmain::buildMenu() {
  QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
  datei->setObjectName(QStringLiteral("Datei1"));
  datei->addAction(command("NCProgrammspeichern1"));
  datei->addSeparator();
  datei->addAction(command("MBildsave"));
  datei->addSeparator();
  datei->addAction(command("MExport"));
  datei->addSeparator();
  datei->addAction(command("MClose"));
  for (const char* name : {"Einstellungen1", "Info1", "Hilfe1"})
    menuBar()->addAction(command(name));
}

QWidget* Tfmain::buildButtonBar() {
  panelMenue_ = Panel(this, "PanelMenue");
  panelMenue_->setFixedHeight(46);
  auto* h = new QHBoxLayout(panelMenue_);
  h->setContentsMargins(6, 4, 6, 4);
  QPushButton* load = commandButton(panelMenue_, "BTLoad", "BTLoad");
  QPushButton* setup = commandButton(panelMenue_, "BSetup", "Einstellungen1");
  QPushButton* help = commandButton(panelMenue_, "BHelp", "Hilfe1");
  QPushButton* info = commandButton(panelMenue_, "BInfo", "Info1", "");
  for (QPushButton* b : {load, setup, help, info}) {
    b->setMinimumHeight(34);
    b->setIconSize(QSize(22, 22));
  }
  info->setFixedWidth(40);
  h->addWidget(load);
  h->addWidget(setup);
  h->addWidget(help);
  h->addStretch();
  h->addWidget(info);
  return panelMenue_;
}

QWidget* Tfmain::buildLeftColumn() {
  panelLinks_ = Panel(this, "PanelLinks");
  panelLinks_->setFixedWidth(217);
  auto* v = new QVBoxLayout(panelLinks_);
  v->setContentsMargins(6, 6, 6, 6);
  v->setSpacing(4);
  auto heading = [&](const char* name, const QString& text) {
    QLabel* l = Label(panelLinks_, name, text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    v->addSpacing(6);
    v->addWidget(l);
  };

  heading("LKontur", QStringLiteral("Kontur"));
  contourGroup_ = new QButtonGroup(this);
  contourGroup_->setExclusive(true);
  for (const char* name : {"EAussen", "EInnen", "EAbtasten", "EAbtastenn"}) {
    QPushButton* b = commandButton(panelLinks_, name, name);
    b->setCheckable(true);
    b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 6px;"));
    contourGroup_->addButton(b);
    v->addWidget(b);
  }
  contourGroup_->buttons().first()->setChecked(true);
  // The column keeps its designed width: a caption that does not fit gets a
  // slightly smaller font rather than being cut off.
  for (QAbstractButton* b : contourGroup_->buttons()) {
    b->setIconSize(QSize(14, 14));
    b->setMinimumHeight(26);
    QFont f = b->font();
    while (QFontMetrics(f).horizontalAdvance(b->text()) > 217 - 12 - 14 - 24 && f.pointSizeF() > 6)
      f.setPointSizeF(f.pointSizeF() - 0.5);
    b->setFont(f);
  }

  heading("LParameter", QStringLiteral("NC-Ausgabe"));
  QPushButton* convert = commandButton(panelLinks_, "BConvert", "BConvert");
  convert->setMinimumHeight(34);
  v->addWidget(convert);

  auto row = [&](QPushButton* b, std::initializer_list<QLineEdit*> fields) {
    auto* h = new QHBoxLayout;
    h->setSpacing(4);
    b->setFixedWidth(fields.size() > 1 ? 95 : 120);
    b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px;"));
    h->addWidget(b);
    for (QLineEdit* e : fields) h->addWidget(e);
    v->addLayout(h);
  };
  eScale_ = ReadOnlyField(panelLinks_, "EScale", QStringLiteral("1.000"));
  row(commandButton(panelLinks_, "BScale", "BScale"), {eScale_});
  eXVersatz_ = ReadOnlyField(panelLinks_, "EXVersatz", QStringLiteral("0.0"));
  eYVersatz_ = ReadOnlyField(panelLinks_, "EYVersatz", QStringLiteral("0.0"));
  row(commandButton(panelLinks_, "BPosition", "BPosition"), {eXVersatz_, eYVersatz_});
  bDurchmesser_ = commandButton(panelLinks_, "BDurchmesser", "BDurchmesser");
  eDurchmesser_ = ReadOnlyField(panelLinks_, "EDurchmesser", QStringLiteral("0"));
  row(bDurchmesser_, {eDurchmesser_});

  heading("LOptionen", QStringLiteral("Optionen"));
  QPushButton* way = commandButton(panelLinks_, "BWayOptimize", "BWayOptimize");
  bAllowSwap_ = commandButton(panelLinks_, "BAllowSwap", "BAllowSwap");
  bAllowSwap_->setCheckable(true);
  bAllowSwap_->setChecked(true);
  QPushButton* lines = commandButton(panelLinks_, "BFindLines", "BFindLines");
  for (QPushButton* b : {way, bAllowSwap_, lines}) {
    b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 6px;"));
    v->addWidget(b);
  }
  v->addStretch();

  // The line spacing the scale dialog last set; never shown.
  eLAbstand_ = ReadOnlyField(panelLinks_, "ELAbstand", QStringLiteral("1.000"));
  eLAbstand_->hide();
  return panelLinks_;
}

QWidget* Tfmain::buildViews() {
  auto* rechts = Panel(this, "PanelRechts");
  auto* v = new QVBoxLayout(rechts);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);

  pAnsicht_ = Panel(rechts, "PAnsicht");
  pAnsicht_->setFixedHeight(73);
  auto* bar = new QHBoxLayout(pAnsicht_);
  bar->setContentsMargins(8, 4, 8, 4);
  QLabel* lAnsicht = Label(pAnsicht_, "LAnsicht", QStringLiteral("Ansicht"));
  QFont bold = lAnsicht->font();
  bold.setBold(true);
  lAnsicht->setFont(bold);
  bar->addWidget(lAnsicht);
  v->addWidget(pAnsicht_);

  auto* viewGroup = new QButtonGroup(this);
  viewGroup->setExclusive(true);
  ViewContext ctx{job_, events_, [this](const char* name) { return command(name); },
                  [this](bool lock) { LockButtons(lock); }, rechts, &progress_};
  for (const ViewRow& r : MainViews()) {
    // Caption under the glyph keeps the four buttons narrow enough for the
    // smallest window.
    auto* b = new QToolButton(pAnsicht_);
    b->setObjectName(QString::fromLatin1(r.button));
    b->setText(QString::fromUtf8(r.german));
    b->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(r.icon) + ".svg"));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setMinimumSize(92, 58);
    b->setIconSize(QSize(26, 26));
    viewGroup->addButton(b);
    bar->addWidget(b);
    const int index = static_cast<int>(viewButtons_.size());
    connect(b, &QToolButton::clicked, this, [this, index] { showView(index); });
    viewButtons_.push_back(b);
    views_.push_back(r.make(ctx));
    v->addWidget(views_.back()->page(), 1);
  }
  bar->addStretch();
  LinkViews(views_, [this] { BGrafikClick(); });
  pictureView_ = static_cast<PictureViewPage*>(views_[kPictureView].get());
  programView_ = static_cast<NcProgramView*>(views_[kProgramView].get());
  for (size_t i = 1; i < views_.size(); ++i) views_[i]->page()->hide();
  viewButtons_[kPictureView]->setChecked(true);
  return rechts;
}

QWidget* Tfmain::buildStatusLine() {
  auto* unten = Panel(this, "PanelUnten");
  unten->setFixedHeight(33);
  auto* v = new QVBoxLayout(unten);
  v->setContentsMargins(6, 1, 6, 2);
  v->setSpacing(1);
  lMeldung_ = Label(unten, "LMeldung", QStringLiteral("Keine Bilddatei geladen"));
  verlaufBar_ = new QProgressBar(unten);
  verlaufBar_->setObjectName(QStringLiteral("VerlaufBar"));
  verlaufBar_->setRange(0, 100);
  verlaufBar_->setValue(0);
  verlaufBar_->setTextVisible(false);
  verlaufBar_->setFixedHeight(10);
  verlaufBar_->setStyleSheet(
      QStringLiteral("QProgressBar { border: 1px solid #7f9db9; background: white; }"
                     "QProgressBar::chunk { background: #20b030; }"));
  v->addWidget(lMeldung_);
  v->addWidget(verlaufBar_);
  return unten;
}

// ---- Showing and view switching -------------------------------------------

void Tfmain::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shownOnce_) {
    shownOnce_ = true;
    FormShow();
  }
}

void Tfmain::FormShow() {
  setWindowTitle(QStringLiteral("Korvane " KORVANE_VERSION));
  SessionStarted(job_);
  BImageClick();
  const std::string dir = configDir();
  std::string dirError;
  if (!EnsureConfigDir(dir, &dirError)) ui_->message(dirError);
  // Without its language file the window keeps the German captions, but the
  // standard profile is activated all the same (by its key text, as
  // korvane-cli does), or no program could be built.
  const bool languageLoaded = StartSettings(job_, dir, programDir_, *ui_);
  if (!fsetup_) {
    fsetup_ = new TFSetup(
        job_, SetupPaths{dir, programDir_}, *currentUi_, *currentFiles_,
        [this](int number) { return LangText(number); }, [this] { BHelpClick(); }, this);
    connect(fsetup_, &TFSetup::settingsSaved, this, [this] { applySettings(true); });
  }
  applySettings(languageLoaded);
  if (!startPicture_.empty())
    openPictureFile(startPicture_);
  else if (!startedWithArgs_)
    showStartWindow();
}

void Tfmain::applySettings(bool languageLoaded) {
  if (languageLoaded) {
    ApplyCaptions(this, MainWindowCaptions(), job_.language);
    fsetup_->applyCaptions();
    fexport_->applyCaptions();
    const CaptionLookup lang = [this](int n) { return job_.language.LangText(n); };
    fhkg_->applyCaptions(lang);
    ffilter_->applyCaptions(lang);
    fresize_->applyCaptions(lang);
  }
  // Qt's buttons speak the language the captions speak: German until a
  // language file has loaded.
  qtTranslations_->use(languageLoaded ? job_.general.lang : 1);
  emit events_.settingsApplied();
  SetButtons();
}

void Tfmain::Einstellungen1Click() { fsetup_->exec(); }

void Tfmain::MExportClick() { fexport_->run(); }

void Tfmain::showView(int index) {
  for (size_t i = 0; i < views_.size(); ++i) {
    View& view = *views_[i];
    const bool shown = static_cast<int>(i) == index;
    if (view.page()->isVisible() && !shown) view.deactivated();
    view.page()->setVisible(shown);
    if (shown) view.activated();
  }
  viewButtons_[static_cast<size_t>(index)]->setChecked(true);
}

void Tfmain::SetButtons() {
  const QList<QAbstractButton*> types = contourGroup_->buttons();  // in the column's order
  const bool traced = types[0]->isChecked() || types[1]->isChecked();
  commands_->update({job_, !pictureFile_.empty(), traced});
}

void Tfmain::LockButtons(bool lock) {
  for (QWidget* w : {panelLinks_, panelMenue_, pAnsicht_}) w->setEnabled(!lock);
}

void Tfmain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (job_.accepted.width >= 1) BNormalScaleClick();
}

void Tfmain::BNormalScaleClick() { bild()->fitToView(); }

void Tfmain::showStartWindow() {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  startWindow_->move(screen.center() - startWindow_->rect().center());
  startWindow_->show();
  startWindow_->raise();
}

// ---- Pictures ---------------------------------------------------------------

void Tfmain::BTLoadClick() {
  startWindow_->hide();
  FileRequest req;
  req.directory = job_.general.voPath;
  req.filters = PictureFilters();
  req.selected = 0;
  const std::string path = files_->openPicture(req);
  if (path.empty()) {
    if (pictureFile_.empty()) showStartWindow();
    return;
  }
  openPictureFile(path);
}

bool Tfmain::openPictureFile(const std::string& path) {
  // Not while a program is being built or shown (a drop during its progress).
  if (job_.ncBusy) return false;
  startWindow_->hide();
  std::string error;
  if (!OpenPictureFile(job_, path, error)) {
    ui_->message(error);
    return false;
  }
  pictureFile_ = path;
  eScale_->setText(QString::fromLatin1(kScaleTextAfterOpen));
  eXVersatz_->setText(QString::fromLatin1(kOffsetTextAfterOpen));
  eYVersatz_->setText(QString::fromLatin1(kOffsetTextAfterOpen));
  eLAbstand_->setText(QString::fromLatin1(kLineSpacingTextAfterOpen));
  BNormalScaleClick();
  BImageClick();
  // The position dialog's centre button goes down without moving the offsets
  // from "0.0"; the next scale change places the picture by it.
  setImageSize(job_.working.width, job_.working.height);
  fpos_->pressCentre(imageX_, imageY_);
  SetButtons();
  progress_.report(kPictureLoadedStatus, 100);
  emit events_.pictureOpened();
  bild()->setFocus();
  updateBwWarning();
  emit events_.pictureChanged();
  return true;
}

void Tfmain::updateBwWarning() { bild()->bwWarning()->setVisible(!IsBlackWhite(job_.working)); }

void Tfmain::Bildspeichern1Click() {
  if (Msg_Isconvert(job_, *ui_)) return;
  if (pictureFile_.empty()) return;
  // The picture is written as a bitmap, so the offered name says so; a name
  // typed with another extension is kept, but never replaces a file unasked.
  FileRequest req;
  req.fileName = PictureSaveFileName(pictureFile_);
  req.defaultSuffix = kPictureSaveSuffix;
  req.filters = PictureFilters();
  const std::string path = files_->savePicture(req);
  if (path.empty()) return;
  const PictureSaveTarget target = PictureSaveTargetFor(path);
  if (target.askOverwrite && !ui_->confirm(PictureReplaceQuestion(target.path))) return;
  std::string error;
  if (!SavePictureBmp32(target.path, job_.working, error)) ui_->message(error);
}

bool Tfmain::BBwClick() {
  // Below the button, whichever of the two buttons was pressed.
  return execBelow(fbw_, "BBw");
}

bool Tfmain::execBelow(QDialog* dlg, const char* button) {
  if (Msg_Isconvert(job_, *ui_)) return false;
  QWidget* bar = pictureView_->toolbar();
  if (auto* b = bar->findChild<QWidget*>(QString::fromLatin1(button)))
    dlg->move(b->mapToGlobal(QPoint(0, 0)) + QPoint(0, bar->height()));
  const bool accepted = dlg->exec() == QDialog::Accepted;
  // Every picture dialog previews in the working image.
  PictureEdited(job_);
  emit events_.pictureChanged();
  return accepted;
}

void Tfmain::BHkgClick() { execBelow(fhkg_, "BHkg"); }

void Tfmain::BEFilterClick() { execBelow(ffilter_, "BEFilter"); }

void Tfmain::BResizeClick() { execBelow(fresize_, "BResize"); }

void Tfmain::BRot90Click() {
  if (Msg_Isconvert(job_, *ui_) || job_.working.px.empty()) return;
  RotateRightCommand(job_.working, job_.accepted);
  PictureEdited(job_);
  setImageSize(job_.working.width, job_.working.height);
  // The position dialog works from the new size with its anchor kept.
  fpos_->setPictureSize(imageX_, imageY_);
  BNormalScaleClick();
  emit events_.pictureChanged();
}

void Tfmain::mirror(bool leftRight) {
  if (Msg_Isconvert(job_, *ui_) || job_.working.px.empty()) return;
  MirrorCommand(job_.working, job_.accepted, leftRight);
  PictureEdited(job_);
  BNormalScaleClick();
  emit events_.pictureChanged();
}

void Tfmain::setImageSize(int32_t w, int32_t h) {
  imageX_ = w;
  imageY_ = h;
}

void Tfmain::pictureResized(int w, int h) {
  PictureResized(job_);
  BNormalScaleClick();
  setImageSize(w, h);
  eScale_->setText(QString::fromLatin1(kScaleTextAfterOpen));
  showOffsets();
  eLAbstand_->setText(QString::fromLatin1(kLineSpacingTextAfterOpen));
  fpos_->pressCentre(imageX_, imageY_);
}

void Tfmain::setInputEnabled(bool enabled) {
  centralWidget()->setEnabled(enabled);
  menuBar()->setEnabled(enabled);
}

namespace {
// Gives input back to the window on every way out of a command.
class InputLock {
 public:
  explicit InputLock(std::function<void(bool)> set) : set_(std::move(set)) { set_(false); }
  ~InputLock() { set_(true); }

 private:
  std::function<void(bool)> set_;
};
}  // namespace

void Tfmain::rebuildProgram() {
  emit events_.buildStarting();
  showProgram(RebuildProgram(job_, progress_));
}

void Tfmain::BFindLinesClick() {
  {
    InputLock lock([this](bool on) { setInputEnabled(on); });
    FindLines(job_, *ui_, progress_, [this] { rebuildProgram(); });
  }
  SetButtons();
}

void Tfmain::BWayOptimizeClick() {
  {
    InputLock lock([this](bool on) { setInputEnabled(on); });
    WayOptimizer(job_, bAllowSwap_->isChecked(), false, *ui_, progress_,
                 [this] { rebuildProgram(); });
  }
  SetButtons();
}

void Tfmain::showOffsets() {
  eXVersatz_->setText(Q(job_.xOffsetText));
  eYVersatz_->setText(Q(job_.yOffsetText));
}

void Tfmain::BScaleClick() {
  fscale_->runCommand(findChild<QWidget*>(QStringLiteral("BScale")), imageX_, imageY_,
                      fpos_->placement(),
                      eDurchmesser_->text().toStdString());
}

void Tfmain::BPositionClick() {
  fpos_->runCommand(findChild<QWidget*>(QStringLiteral("BPosition")), imageX_, imageY_);
}

void Tfmain::BDurchmesserClick() {
  fdurchmesser_->runCommand(bDurchmesser_, eDurchmesser_->text().toStdString());
}

void Tfmain::rerun(ParameterRerun what) {
  if (what == ParameterRerun::None) return;
  // A surface scan starts again from the untouched picture.
  if (what == ParameterRerun::RescanSurface) EAussenClick(job_.contourType);
  convert(true);
}

// ---- Conversion -------------------------------------------------------------

void Tfmain::BConvertClick() { convert(false); }

void Tfmain::convert(bool silent) {
  ConvertInputs in;
  in.diameterEnabled = bDurchmesser_->isEnabled();
  in.diameterText = eDurchmesser_->text().toStdString();
  in.scaleText = eScale_->text().toStdString();
  const bool acceptedBefore = job_.contourAccepted;
  runShown_ = false;
  DoConvert(job_, silent ? ConvertRequest::SilentRerun : ConvertRequest::Command, in, *host_,
            *currentUi_, progress_);
  if (job_.contourAccepted && !acceptedBefore) emit events_.contourAccepted();
  // The status line must not keep the last pass's text as if all went well.
  if (runShown_ && !job_.contourAccepted)
    lMeldung_->setText(Q(job_.cancelRequested ? kCancelledText : kRefusedText));
  emit events_.pictureChanged();
  SetButtons();
}

void Tfmain::EAussenClick(ContourType type) {
  job_.contourType = type;
  if (ChooseContourType(job_, type)) {
    emit events_.pictureChanged();
    BImageClick();
  }
  SetButtons();
}

void Tfmain::showProgram(bool ok) {
  {
    // The views read the program while progress reports let events in: no
    // command may rebuild or void it meanwhile (the busy flag keeps builds
    // out, the lock everything else).
    std::optional<InputLock> lock;  // a list command holds its own
    if (centralWidget()->isEnabled()) lock.emplace([this](bool on) { setInputEnabled(on); });
    const bool wasBusy = job_.ncBusy;
    job_.ncBusy = true;
    struct Restore {
      bool& flag;
      bool value;
      ~Restore() { flag = value; }
    } restore{job_.ncBusy, wasBusy};
    emit events_.programBuilt(ok);
  }
  // The builder stays silent; the status line says which value was not a number.
  if (ok)
    progress_.report(kBuildDoneText, 100);
  else
    lMeldung_->setText(Q(job_.lastBuildError));
  SetButtons();
}

// ---- Main-window commands ---------------------------------------------------

std::string Tfmain::LangText(int number) const { return job_.language.LangText(number); }

std::string Tfmain::configDir() const { return ResolveConfigDir(std::string()); }

void Tfmain::SpeichernClick() {
  const NcSaveFilter f = NcProgramFilter(job_.active.Suffix, LangText(kSaveFilterText));
  FileRequest req;
  req.directory = job_.general.ncPath;
  req.filters = f.filters;
  req.selected = f.selected;
  req.defaultSuffix = f.defaultSuffix;
  const std::string chosen = files_->saveNcProgram(req);
  if (chosen.empty()) return;
  const std::string path = WithDefaultSuffix(chosen, f.defaultSuffix);
  NcEditor* editor = programView_->editor();
  if (!SaveProgramLines(path, editor->programLines())) {
    ui_->message("Datei " + path + " kann nicht erstellt werden");
    return;
  }
  editor->setModified(false);
}

void Tfmain::Undo2Click() { programView_->editor()->undo(); }
void Tfmain::Redo2Click() { programView_->editor()->redo(); }
void Tfmain::CutClick() { programView_->editor()->cut(); }
void Tfmain::copy1Click() { programView_->editor()->copy(); }
void Tfmain::paste1Click() { programView_->editor()->paste(); }

void Tfmain::BHelpClick() {
  const std::string name = LangText(kHelpFileText);
  if (!name.empty()) {
    const QString exeDir = Q(programDir_);
    for (const QString& dir :
         {exeDir, exeDir + QStringLiteral("/../share/korvane"), QStringLiteral(KORVANE_DATADIR)}) {
      const QFileInfo fi(dir + '/' + Q(name));
      if (fi.isFile()) {
        files_->openDocument(fi.absoluteFilePath().toStdString());
        return;
      }
    }
  }
  ui_->message(LangText(kHelpMissingText));
}

void Tfmain::BInfoClick() {
  InfoDialog dlg(this);
  dlg.exec();
}

void Tfmain::closeEvent(QCloseEvent* e) {
  if (ui_->confirm(LangText(kCloseQuestionText))) {
    startWindow_->close();
    e->accept();
  } else {
    e->ignore();
  }
}

void Tfmain::dragEnterEvent(QDragEnterEvent* e) {
  const QList<QUrl> urls = e->mimeData()->urls();
  if (urls.size() == 1 && urls.first().isLocalFile()) e->acceptProposedAction();
}

void Tfmain::dropEvent(QDropEvent* e) {
  const QList<QUrl> urls = e->mimeData()->urls();
  if (urls.size() != 1 || !urls.first().isLocalFile()) return;
  e->acceptProposedAction();
  openPictureFile(urls.first().toLocalFile().toStdString());
}

}  // namespace korvane
