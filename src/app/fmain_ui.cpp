#include "app/fmain_ui.h"

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

#include "app/ncsave.h"
#include "app/pictureview_ui.h"
#include "contour/linefollow.h"
#include "contour/pathopt.h"
#include "contour/tooldiameter.h"
#include "contour/tooldiameter_ui.h"
#include "core/numtext.h"
#include "core/tfconvert_ui.h"
#include "editor/nceditor_ui.h"
#include "image/blackwhite.h"
#include "image/decode.h"
#include "image/picture_file.h"
#include "image/tfbw_ui.h"
#include "ncout/activate.h"
#include "ncout/fimagepos_ui.h"
#include "ncout/fscale_ui.h"
#include "ncout/outparams.h"
#include "ncout/pprofil_ui.h"
#include "ncout/spinfield_ui.h"
#include "settings/configdir.h"
#include "settings/language.h"
#include "settings/settings.h"

// The icons live in a static library; their resource must be registered by hand.
static void InitIconResource() { Q_INIT_RESOURCE(app_icons); }

namespace korvane {

namespace {

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

QPushButton* Button(QWidget* parent, const char* name, const QString& caption,
                    const char* icon = nullptr) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  if (icon) b->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(icon) + ".svg"));
  b->setAutoDefault(false);
  return b;
}

QPushButton* ToolButton(QWidget* parent, const char* name, const QString& hint, const char* icon) {
  QPushButton* b = Button(parent, name, QString(), icon);
  b->setToolTip(hint);
  b->setFixedSize(30, 30);
  b->setIconSize(QSize(20, 20));
  return b;
}

QLineEdit* ReadOnlyField(QWidget* parent, const char* name, const QString& text) {
  auto* e = new QLineEdit(text, parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setReadOnly(true);
  e->setAlignment(Qt::AlignRight);
  return e;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

QWidget* Panel(QWidget* parent, const char* name) {
  auto* w = new QWidget(parent);
  w->setObjectName(QString::fromLatin1(name));
  return w;
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
    setWindowTitle(QStringLiteral("Info"));
    auto* l = new QVBoxLayout(this);
    auto* text = Label(this, "LInfo",
                       QStringLiteral("<h3>Korvane %1</h3>"
                                      "<p>Vom Rasterbild zum NC-Programm.</p>"
                                      "<p>Lizenz: GPL-3.0-or-later</p>"
                                      "<p>Verwendete Bibliotheken: Qt %2, libjpeg, libpng</p>")
                           .arg(QStringLiteral(KORVANE_VERSION), QString::fromLatin1(qVersion())));
    text->setTextFormat(Qt::RichText);
    l->addWidget(text);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    l->addWidget(box);
  }
};

}  // namespace

void Verlaufstatus::report(const std::string& text, int percent) {
  const QString t = Q(text);
  if (w_.lMeldung_->text() != t) w_.lMeldung_->setText(t);
  w_.verlaufBar_->setValue(percent);
  if (percent % 10 == 0 && w_.fconvert_ && w_.fconvert_->isVisible())
    w_.fconvert_->image()->repaint();
  QCoreApplication::processEvents();
  if (w_.progressHook_) w_.progressHook_(text, percent);
}

bool Verlaufstatus::showsPicture() const { return w_.fconvert_ && w_.fconvert_->isVisible(); }

// What the conversion run needs from the windows.
class Tfmain::Host : public ConvertHost {
 public:
  explicit Host(Tfmain& w) : w_(w) {}
  void runBlackWhite() override { w_.BBwClick(); }
  void runConversionDialog() override { w_.fconvert_->exec(); }
  void hideDialog() override { w_.fconvert_->hide(); }
  void workingImageChanged() override { w_.bild_->pictureChanged(); }
  void programBuilt(bool ok) override { w_.showProgram(ok); }
  void showFittedGraphic() override { w_.BGrafikClick(); }
  void closeDialog() override { w_.fconvert_->accept(); }

 private:
  Tfmain& w_;
};

Tfmain::Tfmain(std::string startPicture, bool startedWithArgs, QWidget* parent)
    : QMainWindow(parent),
      qtUi_(this),
      qtFiles_(this),
      ui_(&qtUi_),
      files_(&qtFiles_),
      progress_(*this),
      host_(std::make_unique<Host>(*this)),
      startPicture_(std::move(startPicture)),
      startedWithArgs_(startedWithArgs),
      programDir_(QCoreApplication::applicationDirPath().toStdString()) {
  InitIconResource();
  setObjectName(QStringLiteral("fmain"));
  setWindowTitle(QStringLiteral("Korvane"));
  setMinimumSize(720, 685);
  setAcceptDrops(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kLightBlue);
  setPalette(pal);
  setAutoFillBackground(true);

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
  fconvert_ = new TFConvert(job_, *host_, *ui_, progress_, this);
  connect(fconvert_, &TFConvert::runStarting, this, [this] { ncEditor_->clearProgram(); });
  fbw_ = new TFBW(job_, this);
  connect(fbw_, &TFBW::pictureChanged, bild_, &PictureView::pictureChanged);
  connect(fbw_, &TFBW::bwWarningChanged, bild_->bwWarning(), &QWidget::setVisible);
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
}

Tfmain::~Tfmain() = default;

void Tfmain::setDialogs(UserDialogs* ui, FileDialogs* files) {
  ui_ = ui ? ui : &qtUi_;
  files_ = files ? files : &qtFiles_;
  // The conversion dialog asks through the same dialogs.
  delete fconvert_;
  fconvert_ = new TFConvert(job_, *host_, *ui_, progress_, this);
  connect(fconvert_, &TFConvert::runStarting, this, [this] { ncEditor_->clearProgram(); });
}

void Tfmain::buildMenu() {
  QMenu* datei = menuBar()->addMenu(QStringLiteral("Datei"));
  datei->setObjectName(QStringLiteral("Datei1"));
  QAction* a =
      datei->addAction(QStringLiteral("NC-Programm speichern ..."), this, &Tfmain::SpeichernClick);
  a->setObjectName(QStringLiteral("NCProgrammspeichern1"));
  datei->addSeparator();
  a = datei->addAction(QStringLiteral("Bilddatei speichern ..."), this,
                       &Tfmain::Bildspeichern1Click);
  a->setObjectName(QStringLiteral("MBildsave"));
  datei->addSeparator();
  a = datei->addAction(QStringLiteral("Exportiere Kontur ..."));
  a->setObjectName(QStringLiteral("MExport"));
  a->setEnabled(false);  // the contour export dialog is not part of this window yet
  datei->addSeparator();
  a = datei->addAction(QStringLiteral("Beenden"), this, &Tfmain::MCloseClick);
  a->setObjectName(QStringLiteral("MClose"));
  a = menuBar()->addAction(QStringLiteral("Einstellungen"));
  a->setObjectName(QStringLiteral("Einstellungen1"));
  a = menuBar()->addAction(QStringLiteral("Info"), this, &Tfmain::BInfoClick);
  a->setObjectName(QStringLiteral("Info1"));
  a = menuBar()->addAction(QStringLiteral("Hilfe"), this, &Tfmain::BHelpClick);
  a->setObjectName(QStringLiteral("Hilfe1"));
}

QWidget* Tfmain::buildButtonBar() {
  panelMenue_ = Panel(this, "PanelMenue");
  panelMenue_->setFixedHeight(46);
  auto* h = new QHBoxLayout(panelMenue_);
  h->setContentsMargins(6, 4, 6, 4);
  QPushButton* load = Button(panelMenue_, "BTLoad", QStringLiteral("Bilddatei öffnen ..."), "open");
  QPushButton* setup = Button(panelMenue_, "BSetup", QStringLiteral("Einstellungen"), "setup");
  QPushButton* help = Button(panelMenue_, "BHelp", QStringLiteral("Hilfe"), "help");
  QPushButton* info = Button(panelMenue_, "BInfo", QString(), "info");
  info->setToolTip(QStringLiteral("Info"));
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
  connect(load, &QPushButton::clicked, this, &Tfmain::BTLoadClick);
  connect(help, &QPushButton::clicked, this, &Tfmain::BHelpClick);
  connect(info, &QPushButton::clicked, this, &Tfmain::BInfoClick);
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
  const struct {
    const char* name;
    const char* caption;
    const char* icon;
    ContourType type;
    QPushButton** slot;
  } types[] = {
      {"EAussen", "Aussen / Umriss", "outline", ContourType::Outline, &eAussen_},
      {"EInnen", "Mittellinie", "centreline", ContourType::CentreLine, &eInnen_},
      {"EAbtasten", "Abtasten Oberfläche", "scan", ContourType::Scan, &eAbtasten_},
      {"EAbtastenn", "Abtasten Oberfläche (negativ)", "scanneg", ContourType::ScanNegative,
       &eAbtastenn_},
  };
  for (const auto& t : types) {
    QPushButton* b = Button(panelLinks_, t.name, QString::fromUtf8(t.caption), t.icon);
    b->setCheckable(true);
    b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 6px;"));
    contourGroup_->addButton(b);
    v->addWidget(b);
    *t.slot = b;
    const ContourType type = t.type;
    connect(b, &QPushButton::clicked, this, [this, type] { EAussenClick(type); });
  }
  eAussen_->setChecked(true);
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
  bConvert_ =
      Button(panelLinks_, "BConvert", QStringLiteral("Erstelle NC-Programm  ..."), "convert");
  bConvert_->setMinimumHeight(34);
  v->addWidget(bConvert_);
  connect(bConvert_, &QPushButton::clicked, this, &Tfmain::BConvertClick);

  auto row = [&](QPushButton* b, std::initializer_list<QLineEdit*> fields) {
    auto* h = new QHBoxLayout;
    h->setSpacing(4);
    b->setFixedWidth(fields.size() > 1 ? 95 : 120);
    b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px;"));
    h->addWidget(b);
    for (QLineEdit* e : fields) h->addWidget(e);
    v->addLayout(h);
  };
  bScale_ = Button(panelLinks_, "BScale", QStringLiteral("Skalierung"), "scale");
  eScale_ = ReadOnlyField(panelLinks_, "EScale", QStringLiteral("1.000"));
  row(bScale_, {eScale_});
  bPosition_ = Button(panelLinks_, "BPosition", QStringLiteral("Position"), "position");
  eXVersatz_ = ReadOnlyField(panelLinks_, "EXVersatz", QStringLiteral("0.0"));
  eYVersatz_ = ReadOnlyField(panelLinks_, "EYVersatz", QStringLiteral("0.0"));
  row(bPosition_, {eXVersatz_, eYVersatz_});
  bDurchmesser_ = Button(panelLinks_, "BDurchmesser", QStringLiteral("Durchmesser"), "diameter");
  eDurchmesser_ = ReadOnlyField(panelLinks_, "EDurchmesser", QStringLiteral("0"));
  row(bDurchmesser_, {eDurchmesser_});

  heading("LOptionen", QStringLiteral("Optionen"));
  bWayOptimize_ = Button(panelLinks_, "BWayOptimize", QStringLiteral("Wegoptimierung ..."), "way");
  bAllowSwap_ = Button(panelLinks_, "BAllowSwap", QStringLiteral("Weg umkehren erlaubt"), "swap");
  bAllowSwap_->setCheckable(true);
  bAllowSwap_->setChecked(true);
  bFindLines_ = Button(panelLinks_, "BFindLines", QStringLiteral("Linienverfolgung ..."), "lines");
  for (QPushButton* b : {bWayOptimize_, bAllowSwap_, bFindLines_}) {
    b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 6px;"));
    v->addWidget(b);
  }
  v->addStretch();

  // Width and height of the picture, read by the scale, position and resize
  // dialogs; never shown.
  imageX_ = ReadOnlyField(panelLinks_, "ImageX", QStringLiteral("0"));
  imageY_ = ReadOnlyField(panelLinks_, "ImageY", QStringLiteral("0"));
  eLAbstand_ = ReadOnlyField(panelLinks_, "ELAbstand", QStringLiteral("1.000"));
  imageX_->hide();
  imageY_->hide();
  eLAbstand_->hide();
  connect(bScale_, &QPushButton::clicked, this, &Tfmain::BScaleClick);
  connect(bPosition_, &QPushButton::clicked, this, &Tfmain::BPositionClick);
  connect(bDurchmesser_, &QPushButton::clicked, this, &Tfmain::BDurchmesserClick);
  connect(bFindLines_, &QPushButton::clicked, this, &Tfmain::BFindLinesClick);
  connect(bWayOptimize_, &QPushButton::clicked, this, &Tfmain::BWayOptimizeClick);
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
  auto* viewGroup = new QButtonGroup(this);
  viewGroup->setExclusive(true);
  // Caption under the glyph keeps the four buttons narrow enough for the
  // smallest window.
  auto viewButton = [&](const char* name, const QString& caption, const char* icon) {
    auto* b = new QToolButton(pAnsicht_);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(icon) + ".svg"));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setMinimumSize(92, 58);
    b->setIconSize(QSize(26, 26));
    viewGroup->addButton(b);
    bar->addWidget(b);
    return b;
  };
  bImage_ = viewButton("BImage", QStringLiteral("Bild"), "image");
  bProgram_ = viewButton("BProgram", QStringLiteral("NC-Programm"), "program");
  bGrafik_ = viewButton("BGrafik", QStringLiteral("NC-Grafik"), "grafik");
  bBlank_ = viewButton("BBlank", QStringLiteral("Rohteil"), "blank");
  bar->addStretch();
  bImage_->setChecked(true);
  connect(bImage_, &QToolButton::clicked, this, &Tfmain::BImageClick);
  connect(bProgram_, &QToolButton::clicked, this, &Tfmain::BProgramClick);
  connect(bGrafik_, &QToolButton::clicked, this, &Tfmain::BGrafikClick);
  connect(bBlank_, &QToolButton::clicked, this, &Tfmain::BBlankClick);
  v->addWidget(pAnsicht_);

  // Picture view.
  pImage_ = Panel(rechts, "PImage");
  auto* iv = new QVBoxLayout(pImage_);
  iv->setContentsMargins(0, 0, 0, 0);
  iv->setSpacing(0);
  auto* tools = Panel(pImage_, "PanelBildMenue");
  panelBildMenue_ = tools;
  tools->setFixedHeight(36);
  auto* th = new QHBoxLayout(tools);
  th->setContentsMargins(6, 2, 6, 2);
  th->setSpacing(3);
  QPushButton* plus = ToolButton(tools, "BImgPlus", QStringLiteral("Vergrößern"), "zoomin");
  QPushButton* minus = ToolButton(tools, "BImgMinus", QStringLiteral("Verkleinern"), "zoomout");
  QPushButton* fit = ToolButton(tools, "BNormalScale", QStringLiteral("Einpassen"), "fit");
  QPushButton* bw = Button(tools, "BBw", QStringLiteral("Schwarz/Weiss"), "bw");
  bBw_ = bw;
  bw->setFixedHeight(30);
  QPushButton* save =
      ToolButton(tools, "BTSave", QStringLiteral("Bilddatei speichern ..."), "save");
  for (QWidget* w : {static_cast<QWidget*>(plus), static_cast<QWidget*>(minus),
                     static_cast<QWidget*>(fit), static_cast<QWidget*>(bw)})
    th->addWidget(w);
  th->addStretch();
  th->addWidget(save);
  iv->addWidget(tools);
  bild_ = new PictureView(job_.working, pImage_);
  bild_->setObjectName(QStringLiteral("Bild"));
  iv->addWidget(bild_, 1);
  connect(plus, &QPushButton::clicked, bild_, &PictureView::zoomIn);
  connect(minus, &QPushButton::clicked, bild_, &PictureView::zoomOut);
  connect(fit, &QPushButton::clicked, this, &Tfmain::BNormalScaleClick);
  connect(bw, &QPushButton::clicked, this, &Tfmain::BBwClick);
  connect(bild_->bwWarning(), &QPushButton::clicked, this, &Tfmain::BBwClick);
  connect(save, &QPushButton::clicked, this, &Tfmain::Bildspeichern1Click);
  v->addWidget(pImage_, 1);

  // NC program view.
  pProgramm_ = Panel(rechts, "PProgramm");
  auto* pv = new QVBoxLayout(pProgramm_);
  pv->setContentsMargins(0, 0, 0, 0);
  pv->setSpacing(0);
  auto* ncp = Panel(pProgramm_, "NCPPanel");
  ncp->setFixedHeight(36);
  auto* nh = new QHBoxLayout(ncp);
  nh->setContentsMargins(6, 2, 6, 2);
  nh->setSpacing(3);
  QPushButton* speichern = ToolButton(ncp, "Speichern", QStringLiteral("Speichern"), "save");
  QPushButton* undo = ToolButton(ncp, "Undo2", QStringLiteral("Rückgängig"), "undo");
  QPushButton* redo = ToolButton(ncp, "Redo2", QStringLiteral("Widerrufen"), "redo");
  QPushButton* cut = ToolButton(ncp, "Cut", QStringLiteral("Ausschneiden"), "cut");
  QPushButton* copy = ToolButton(ncp, "copy1", QStringLiteral("Kopieren"), "copy");
  QPushButton* paste = ToolButton(ncp, "paste1", QStringLiteral("Einfügen"), "paste");
  QPushButton* profil = Button(ncp, "BProfil", QStringLiteral("PROFIL"));
  profil->setCheckable(true);
  profil->setFixedHeight(30);
  for (QPushButton* b : {speichern, undo, redo, cut, copy, paste}) nh->addWidget(b);
  nh->addStretch();
  nh->addWidget(profil);
  pv->addWidget(ncp);
  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  ncEditor_ = new NcEditor(pProgramm_);
  body->addWidget(ncEditor_, 1);
  pProfil_ = new PProfil(job_, pProgramm_);
  pProfil_->hide();
  connect(pProfil_, &PProfil::convertRequested, this, &Tfmain::BConvertClick);
  body->addWidget(pProfil_);
  pv->addLayout(body, 1);
  auto* info = Panel(pProgramm_, "Editorinfo");
  info->setFixedHeight(30);
  auto* ih = new QHBoxLayout(info);
  ih->setContentsMargins(6, 2, 6, 2);
  ih->addWidget(Label(info, "LZeilen", QStringLiteral("Zeilen: ")));
  eZeilen_ = ReadOnlyField(info, "EZeilen", QStringLiteral("0"));
  ih->addWidget(eZeilen_);
  ih->addWidget(Label(info, "LZeichen", QStringLiteral("Zeichen:")));
  eZeichen_ = ReadOnlyField(info, "EZeichen", QStringLiteral("0"));
  ih->addWidget(eZeichen_);
  ih->addWidget(Label(info, "LWege", QStringLiteral("Wege")));
  eMaxWeg_ = ReadOnlyField(info, "EMaxWeg", QStringLiteral("0"));
  ih->addWidget(eMaxWeg_);
  ih->addStretch();
  for (QLineEdit* e : {eZeilen_, eZeichen_, eMaxWeg_}) e->setFixedWidth(90);
  pv->addWidget(info);
  connect(speichern, &QPushButton::clicked, this, &Tfmain::SpeichernClick);
  connect(undo, &QPushButton::clicked, ncEditor_, &NcEditor::undo);
  connect(redo, &QPushButton::clicked, ncEditor_, &NcEditor::redo);
  connect(cut, &QPushButton::clicked, ncEditor_, &NcEditor::cut);
  connect(copy, &QPushButton::clicked, ncEditor_, &NcEditor::copy);
  connect(paste, &QPushButton::clicked, ncEditor_, &NcEditor::paste);
  connect(profil, &QPushButton::toggled, pProfil_, &QWidget::setVisible);
  v->addWidget(pProgramm_, 1);

  // NC graphic and stock views.
  pGrafik_ = Panel(rechts, "PGrafik");
  auto* gv = new QVBoxLayout(pGrafik_);
  gv->setContentsMargins(0, 0, 0, 0);
  auto* ncg = Panel(pGrafik_, "NCGPanel");
  ncg->setFixedHeight(36);
  gv->addWidget(ncg);
  gv->addWidget(Panel(pGrafik_, "NCGrafik"), 1);
  v->addWidget(pGrafik_, 1);
  pRohteil_ = Panel(rechts, "PRohteil");
  v->addWidget(pRohteil_, 1);

  pProgramm_->hide();
  pGrafik_->hide();
  pRohteil_->hide();
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
  setWindowTitle(QStringLiteral("Korvane 1.0"));
  job_.contourAccepted = false;
  job_.autoAccept = false;
  BImageClick();
  const std::string dir = configDir();
  std::string dirError;
  if (!EnsureConfigDir(dir, &dirError)) ui_->message(dirError);
  if (LoadSettings(job_, dir, programDir_, *ui_)) {
    applyCaptions();
    ActivateProfile(job_, StandardProfileNumber(job_.general));
    pProfil_->fillFromActive();
  }
  SetButtons();
  if (!startPicture_.empty())
    openPictureFile(startPicture_);
  else if (!startedWithArgs_)
    showStartWindow();
}

void Tfmain::showView(QWidget* panel, QAbstractButton* button) {
  for (QWidget* p : {pImage_, pProgramm_, pGrafik_, pRohteil_}) p->setVisible(p == panel);
  button->setChecked(true);
}

void Tfmain::BImageClick() { showView(pImage_, bImage_); }
void Tfmain::BProgramClick() { showView(pProgramm_, bProgram_); }
void Tfmain::BGrafikClick() { showView(pGrafik_, bGrafik_); }
void Tfmain::BBlankClick() { showView(pRohteil_, bBlank_); }

void Tfmain::SetButtons() {
  const bool loaded = !pictureFile_.empty();
  for (QPushButton* b :
       {eAussen_, eInnen_, eAbtasten_, eAbtastenn_, bScale_, bPosition_, bConvert_, bDurchmesser_})
    b->setEnabled(loaded);
  const bool traced = eAussen_->isChecked() || eInnen_->isChecked();
  bFindLines_->setEnabled(loaded && traced && job_.contourAccepted);
  bWayOptimize_->setEnabled(loaded && job_.contourAccepted);
  bAllowSwap_->setEnabled(loaded && job_.contourAccepted);
}

void Tfmain::LockButtons(bool lock) {
  for (QWidget* w : {panelLinks_, panelMenue_, pAnsicht_}) w->setEnabled(!lock);
}

void Tfmain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (job_.accepted.width >= 1) BNormalScaleClick();
}

void Tfmain::BNormalScaleClick() { bild_->fitToView(); }

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
  imageX_->setText(QString::number(job_.working.width));
  imageY_->setText(QString::number(job_.working.height));
  BNormalScaleClick();
  BImageClick();
  // The position dialog's centre button goes down and places the new picture.
  fpos_->setPlacement(Placement::kCentre);
  ApplyCentreOffsets(job_);
  showOffsets();
  SetButtons();
  progress_.report(kPictureLoadedStatus, 100);
  ncEditor_->clearProgram();
  bild_->setFocus();
  updateBwWarning();
  bild_->pictureChanged();
  return true;
}

void Tfmain::updateBwWarning() { bild_->bwWarning()->setVisible(!IsBlackWhite(job_.working)); }

void Tfmain::Bildspeichern1Click() {
  if (Msg_Isconvert(job_, *ui_)) return;
  if (pictureFile_.empty()) return;
  FileRequest req;
  req.fileName = pictureFile_;
  req.defaultSuffix = FileExtension(pictureFile_);
  req.filters = PictureFilters();
  const std::string path = files_->savePicture(req);
  if (path.empty()) return;
  std::string error;
  if (!SavePictureBmp32(WithDefaultSuffix(path, req.defaultSuffix), job_.working, error))
    ui_->message(error);
}

void Tfmain::BBwClick() {
  if (Msg_Isconvert(job_, *ui_)) return;
  // Below the button, whichever of the two buttons was pressed.
  fbw_->move(bBw_->mapToGlobal(QPoint(0, 0)) + QPoint(0, panelBildMenue_->height()));
  fbw_->exec();
  bild_->pictureChanged();
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

void Tfmain::BFindLinesClick() {
  {
    InputLock lock([this](bool on) { setInputEnabled(on); });
    FindLines(job_, *ui_, progress_, [this] { showProgram(RebuildProgram(job_, progress_)); });
  }
  SetButtons();
}

void Tfmain::BWayOptimizeClick() {
  {
    InputLock lock([this](bool on) { setInputEnabled(on); });
    WayOptimizer(job_, bAllowSwap_->isChecked(), false, *ui_, progress_,
                 [this] { showProgram(RebuildProgram(job_, progress_)); });
  }
  SetButtons();
}

void Tfmain::showOffsets() {
  eXVersatz_->setText(Q(job_.xOffsetText));
  eYVersatz_->setText(Q(job_.yOffsetText));
}

void Tfmain::BScaleClick() {
  fscale_->runCommand(bScale_, imageX_->text().toInt(), imageY_->text().toInt(), fpos_->placement(),
                      eDurchmesser_->text().toStdString());
}

void Tfmain::BPositionClick() {
  fpos_->runCommand(bPosition_, imageX_->text().toInt(), imageY_->text().toInt());
}

void Tfmain::BDurchmesserClick() {
  fdurchmesser_->runCommand(bDurchmesser_, eDurchmesser_->text().toStdString());
}

void Tfmain::rerun(ParameterRerun what) {
  if (what == ParameterRerun::None) return;
  ConvertInputs in;
  in.diameterEnabled = bDurchmesser_->isEnabled();
  in.diameterText = eDurchmesser_->text().toStdString();
  in.scaleText = eScale_->text().toStdString();
  // A surface scan starts again from the untouched picture.
  if (what == ParameterRerun::RescanSurface) EAussenClick(job_.contourType);
  DoConvert(job_, true, in, *host_, *ui_, progress_);
  bild_->pictureChanged();
  SetButtons();
}

// ---- Conversion -------------------------------------------------------------

void Tfmain::BConvertClick() {
  ConvertInputs in;
  in.diameterEnabled = bDurchmesser_->isEnabled();
  in.diameterText = eDurchmesser_->text().toStdString();
  in.scaleText = eScale_->text().toStdString();
  DoConvert(job_, false, in, *host_, *ui_, progress_);
  bild_->pictureChanged();
  SetButtons();
}

void Tfmain::EAussenClick(ContourType type) {
  job_.contourType = type;
  if (ChooseContourType(job_, type)) {
    bild_->pictureChanged();
    BImageClick();
  }
  SetButtons();
}

void Tfmain::showProgram(bool ok) {
  ncEditor_->setProgram(job_.ncLines);
  eZeilen_->setText(QString::number(job_.ncLineCount));
  eZeichen_->setText(QString::number(job_.ncCharCount));
  eMaxWeg_->setText(QString::number(job_.ncSegmentCount));
  // The builder stays silent; the status line says which value was not a number.
  if (!ok) lMeldung_->setText(Q(job_.lastBuildError));
  SetButtons();
}

// ---- Main-window commands ---------------------------------------------------

std::string Tfmain::LangText(int number) const { return job_.language.LangText(number); }

void Tfmain::applyCaptions() {
  for (const CaptionEntry& c : MainWindowCaptions()) {
    const QString name = QString::fromLatin1(c.control);
    const QString text = Q(LangText(c.number));
    if (auto* b = findChild<QAbstractButton*>(name))
      b->setText(text);
    else if (auto* l = findChild<QLabel*>(name))
      l->setText(text);
    else if (auto* a = findChild<QAction*>(name))
      a->setText(text);
  }
  update();
}

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
  if (!SaveProgramLines(path, ncEditor_->programLines())) {
    ui_->message("Datei " + path + " kann nicht erstellt werden");
    return;
  }
  ncEditor_->setModified(false);
}

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
