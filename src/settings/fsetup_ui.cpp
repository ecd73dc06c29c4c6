#include "settings/fsetup_ui.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

#include "base/fileio.h"
#include "base/filedialogs.h"
#include "base/interaction.h"
#include "base/numtext.h"
#include "settings/activate.h"
#include "ncout/ncbuild.h"
#include "settings/inifile.h"
#include "settings/language.h"
#include "core/jobsettings.h"
#include "settings/settings.h"

namespace korvane {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

constexpr std::size_t kPreviewLines = 40;

// Captions of this dialog's additions, looked up like the table's.
struct ExtraCaption {
  int number;
  const char* control;
};
constexpr std::array<ExtraCaption, 2> kExtraCaptions = {{{4120, "LSprache"}, {4222, "LVorschau"}}};

// Display names of the language numbers 1..4, each in its own language.
constexpr std::array<const char*, 4> kLanguageNames = {"Deutsch", "English", "Français",
                                                       "Español"};

template <typename W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

QLabel* Label(QWidget* parent, const char* name, const char* text) {
  return Named(new QLabel(QString::fromUtf8(text), parent), name);
}

QToolButton* Stepper(QWidget* parent, const char* name, const char* text) {
  auto* b = Named(new QToolButton(parent), name);
  b->setText(QString::fromLatin1(text));
  // A one-character button says what it does in its tooltip.
  b->setToolTip(text[0] == '-' ? QStringLiteral("Verringern") : QStringLiteral("Erhöhen"));
  b->setAutoRepeat(true);
  return b;
}

// "Integer part + delta, as an integer" when the field's number allows it.
void IntegerStep(QLineEdit* field, int delta, long double low, long double high) {
  const std::optional<long double> v = ParseNumber(S(field->text()));
  if (!v) return;
  if (delta > 0 ? !(*v < high) : !(*v > low)) return;
  field->setText(Q(FormatFixed(std::trunc(*v) + delta, 0)));
}

// R and Z: +-0.1 with three decimals; a text that is not a number becomes "0".
void TenthStep(QLineEdit* field, long double delta) {
  const std::optional<long double> v = ParseNumber(S(field->text()));
  field->setText(v ? Q(FormatFixed(*v + delta, 3)) : QStringLiteral("0"));
}

bool IsFolder(const std::string& path) { return !path.empty() && QFileInfo(Q(path)).isDir(); }

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

constexpr std::array<std::array<long double, 4>, 4> kSquare = {{
    {0, 0, 10, 0}, {10, 0, 10, 10}, {10, 10, 0, 10}, {0, 10, 0, 0}}};

}  // namespace

std::vector<std::string> PreviewProgramLines(const Profile& profile, const Job& job,
                                             std::size_t maxLines, std::string& error) {
  ProfileStore store;
  store[0] = profile;
  ActiveProfile active;
  ActivateProfile(store, active, 1);
  const bool contour = job.contourAccepted && !job.segments.empty();
  NCOutputParams out;
  if (contour) {
    out = {job.scale, job.joinGap, job.xOffsetText, job.yOffsetText};
  } else {
    out.yOffsetText = "10";  // the square lies in X0..10, Y0..10
  }
  out.moveList = false;  // the preview shows program lines only
  // A prefix of the list gives the program's first lines once it yields more
  // than the closing retract and end blocks add; grow it until it does.
  std::size_t closing = 0;
  for (int kind : {kSynR, kSynE})
    for (const std::string& l : profile.templates[static_cast<std::size_t>(kind)])
      closing += !l.empty();
  const int32_t total = contour ? job.segments.count() : static_cast<int32_t>(kSquare.size());
  SegmentList prefix;
  NCProgram program;
  for (int32_t n = std::min<int32_t>(total, 64);; n = std::min<int32_t>(total, 2 * n)) {
    prefix.clear();
    for (int32_t k = 0; k < n; ++k) {
      if (contour) {
        prefix.append(job.segments[k]);
      } else {
        const auto& s = kSquare[static_cast<std::size_t>(k)];
        prefix.append(s[0], s[1], s[2], s[3]);
      }
    }
    NCBuilderState state;
    NullProgress quiet;
    program = BuildNC(prefix, FindWayRect(prefix), out, active, state, quiet, std::move(program));
    if (program.status != NCBuildStatus::Built) {
      error = program.error;
      return {};
    }
    if (n == total || program.lines.size() >= maxLines + closing) break;
  }
  error.clear();
  const LineStore& lines = program.lines;
  return std::vector<std::string>(lines.begin(),
                                  lines.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min(maxLines, lines.size())));
}

// ---- Colour swatch ------------------------------------------------------------

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Box);
  setFixedSize(48, 20);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
  setColour(0);
}

void ColourSwatch::setColour(int32_t colour) {
  colour_ = colour;
  const auto c = static_cast<uint32_t>(colour);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  setPalette(pal);
}

void ColourSwatch::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit pressed();
}

// ---- Dialog ---------------------------------------------------------------------

TFSetup::TFSetup(Job& job, SetupPaths paths, UserDialogs& ui, FileDialogs& files,
                 CaptionLookup caption, std::function<void()> help, QWidget* parent)
    : QDialog(parent),
      job_(job),
      paths_(std::move(paths)),
      ui_(ui),
      files_(files),
      caption_(std::move(caption)),
      help_(std::move(help)) {
  setObjectName(QStringLiteral("FSetup"));
  setWindowTitle(QStringLiteral("Einstellungen"));
  setModal(true);

  auto* top = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  top->addLayout(body, 1);

  auto* column = new QVBoxLayout;
  pageButtons_ = new QButtonGroup(this);
  pageButtons_->setExclusive(true);
  auto pageButton = [&](const char* name, const QString& text) {
    auto* b = Named(new QPushButton(text, this), name);
    b->setCheckable(true);
    pageButtons_->addButton(b);
    column->addWidget(b);
    return b;
  };
  QPushButton* mp = pageButton("MP", QStringLiteral("Programm"));
  connect(mp, &QPushButton::clicked, this, &TFSetup::MPClick);
  for (int k = 1; k <= 4; ++k) {
    const std::string name = "P" + std::to_string(k);
    QPushButton* p = pageButton(name.c_str(), QStringLiteral("Profil %1").arg(k));
    connect(p, &QPushButton::clicked, this, [this, k] { PClick(k); });
  }
  column->addStretch(1);
  body->addLayout(column);

  pages_ = new QStackedWidget(this);
  programPage_ = buildProgramPage();
  profilePage_ = buildProfilePage();
  pages_->addWidget(programPage_);
  pages_->addWidget(profilePage_);
  body->addWidget(pages_, 1);

  auto* bottom = new QHBoxLayout;
  auto* abbrechen = Named(new QPushButton(QStringLiteral("&Abbrechen"), this), "Abbrechen");
  auto* hilfe = Named(new QPushButton(QStringLiteral("&Hilfe"), this), "Hilfe");
  auto* speichern = Named(new QPushButton(QStringLiteral("&Speichern"), this), "Speichern");
  speichern->setDefault(true);
  bottom->addStretch(1);
  bottom->addWidget(abbrechen);
  bottom->addWidget(hilfe);
  bottom->addWidget(speichern);
  top->addLayout(bottom);
  connect(abbrechen, &QPushButton::clicked, this, &TFSetup::AbbrechenClick);
  connect(hilfe, &QPushButton::clicked, this, &TFSetup::HilfeClick);
  connect(speichern, &QPushButton::clicked, this, &TFSetup::SpeichernClick);

  fillLanguages();
  loadGeneral();
  applyCaptions();
  FormShow();
}

TFSetup::~TFSetup() = default;

QWidget* TFSetup::buildProgramPage() {
  auto* page = Named(new QWidget(this), "PProgramm");
  auto* v = new QVBoxLayout(page);

  auto* dirs = Named(new QGroupBox(QStringLiteral("Verzeichnisse"), page), "LDir");
  auto* dg = new QGridLayout(dirs);
  auto folderRow = [&](int row, const char* label, const char* text, const char* field,
                       const char* button) {
    dg->addWidget(Label(dirs, label, text), row, 0);
    auto* e = Named(new QLineEdit(dirs), field);
    auto* b = Named(new QPushButton(QStringLiteral("..."), dirs), button);
    dg->addWidget(e, row, 1);
    dg->addWidget(b, row, 2);
    connect(b, &QPushButton::clicked, this, [this, e] { chooseFolder(e); });
    return e;
  };
  eZieldir_ = folderRow(0, "LNc", "NC-Programme", "EZieldir", "BZielDir");
  eVorlagenDir_ = folderRow(1, "LTemp", "Vorlagen", "EVorlagenDir", "BVorlagenDir");
  v->addWidget(dirs);

  auto* nc = Named(new QGroupBox(QStringLiteral("Vorgaben NC-Programm"), page), "DNc");
  auto* ng = new QGridLayout(nc);
  ng->addWidget(Label(nc, "LProfil", "Standardprofil"), 0, 0);
  auto* standardRow = new QHBoxLayout;
  auto* standardGroup = new QButtonGroup(nc);
  for (int k = 1; k <= 4; ++k) {
    const std::string name = "EStandard" + std::to_string(k);
    auto* r = Named(new QRadioButton(QString::number(k), nc), name.c_str());
    standardGroup->addButton(r);
    standardRow->addWidget(r);
    standard_.push_back(r);
  }
  standard_.front()->setChecked(true);
  standardRow->addStretch(1);
  ng->addLayout(standardRow, 0, 1);
  ng->addWidget(Label(nc, "LSprache", "Sprache"), 1, 0);
  sprache_ = Named(new QComboBox(nc), "ESprache");
  ng->addWidget(sprache_, 1, 1);
  v->addWidget(nc);

  auto* gra = Named(new QGroupBox(QStringLiteral("Vorgaben NC-Grafik"), page), "DGra");
  auto* gg = new QGridLayout(gra);
  auto* viewRow = new QHBoxLayout;
  auto* viewGroup = new QButtonGroup(gra);
  for (const char* name : {"XYButt", "XZButt", "YZButt", "XYZButt"}) {
    QString text = QString::fromLatin1(name);
    text.chop(4);
    auto* r = Named(new QRadioButton(text, gra), name);
    viewGroup->addButton(r);
    viewRow->addWidget(r);
    views_.push_back(r);
  }
  views_.back()->setChecked(true);
  axisButt_ = Named(new QPushButton(QStringLiteral("Achsen zeigen"), gra), "AxisButt");
  g0Butt_ = Named(new QPushButton(QStringLiteral("G0 zeigen"), gra), "G0Butt");
  for (QPushButton* b : {axisButt_, g0Butt_}) {
    b->setCheckable(true);
    b->setChecked(true);
    viewRow->addWidget(b);
  }
  viewRow->addStretch(1);
  gg->addLayout(viewRow, 0, 0, 1, 2);
  int row = 1;
  auto swatch = [&](const char* label, const char* text, const char* name) {
    auto* s = Named(new ColourSwatch(gra), name);
    gg->addWidget(Label(gra, label, text), row, 0);
    gg->addWidget(s, row++, 1, Qt::AlignLeft);
    connect(s, &ColourSwatch::pressed, this, [this, s] { chooseColour(s); });
    return s;
  };
  hg_ = swatch("LHG", "Hintergrund", "EHintergrund");
  achsen_ = swatch("Lachsen", "Achsen", "EAchsen");
  vorschub_ = swatch("LVorschub1", "Vorschub", "EVorschub");
  eilgang_ = swatch("LEilgang", "Positionierung", "EFEilgang");
  rohteil_ = swatch("LBlank", "Rohteil", "ERohteil");
  // Stored and loaded only: the user cannot reach them.
  aVorschub_ = Named(new ColourSwatch(gra), "EAVorschub");
  aVorschub_->hide();
  QLabel* lAuf = Label(gra, "LAuf", "Auflösung (TrueType)");
  lAuf->hide();
  eAufloesung_ = Named(new QLineEdit(gra), "EAufloesung");
  eAufloesung_->hide();
  v->addWidget(gra);
  v->addStretch(1);
  return page;
}

QWidget* TFSetup::buildProfilePage() {
  auto* page = Named(new QWidget(this), "PProfil");
  auto* v = new QVBoxLayout(page);
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(Label(page, "LP1", "Profilname"));
  eeProfil_ = Named(new QLineEdit(page), "EEProfil");
  nameRow->addWidget(eeProfil_, 1);
  v->addLayout(nameRow);

  auto* groups = new QHBoxLayout;
  auto* format = Named(new QGroupBox(QStringLiteral("Zahlenformat"), page), "LF1");
  auto* fg = new QGridLayout(format);
  auto intRow = [&](QGridLayout* g, int r, QWidget* parent, const char* label, const char* text,
                    const char* field, const char* minus, const char* plus) {
    g->addWidget(Label(parent, label, text), r, 0);
    auto* e = Named(new QLineEdit(parent), field);
    e->setMaximumWidth(90);
    g->addWidget(e, r, 1);
    auto* m = Stepper(parent, minus, "-");
    auto* p = Stepper(parent, plus, "+");
    g->addWidget(m, r, 2);
    g->addWidget(p, r, 3);
    return std::array<QWidget*, 3>{e, m, p};
  };
  auto stellen = intRow(fg, 0, format, "LFS1", "Anzahl Stellen", "EEStellen", "SMinus1", "SPlus1");
  auto nachkomma =
      intRow(fg, 1, format, "LFN1", "Nachkomma", "EENachkommastellen", "NMinus1", "NPlus1");
  eeStellen_ = static_cast<QLineEdit*>(stellen[0]);
  eeNachkomma_ = static_cast<QLineEdit*>(nachkomma[0]);
  connect(static_cast<QToolButton*>(stellen[1]), &QToolButton::clicked, this,
          [this] { IntegerStep(eeStellen_, -1, 0, 10); });
  connect(static_cast<QToolButton*>(stellen[2]), &QToolButton::clicked, this,
          [this] { IntegerStep(eeStellen_, +1, 0, 10); });
  connect(static_cast<QToolButton*>(nachkomma[1]), &QToolButton::clicked, this,
          [this] { IntegerStep(eeNachkomma_, -1, 0, 10); });
  connect(static_cast<QToolButton*>(nachkomma[2]), &QToolButton::clicked, this,
          [this] { IntegerStep(eeNachkomma_, +1, 0, 10); });
  int r = 2;
  auto check = [&](const char* name, const char* text) {
    auto* c = Named(new QCheckBox(QString::fromUtf8(text), format), name);
    fg->addWidget(c, r++, 0, 1, 4);
    return c;
  };
  eeDeziPunkt_ = check("EEDeziPunkt", "Dezimalpunkt");
  eeNCPunkt_ = check("EENCPunkt", "Punkt bei ganzer Zahl");
  eeVNullen_ = check("EEVNullen", "Vornullen");
  eeNNullen_ = check("EENNullen", "Nachnullen");
  eeVorzeichen_ = check("EEVorzeichen", "Immer Vorzeichen");
  // Without a decimal point the trailing zeros carry the decimals, so one of
  // the two always stays on.
  connect(eeNNullen_, &QCheckBox::clicked, this, [this](bool on) {
    if (!on) eeDeziPunkt_->setChecked(true);
  });
  connect(eeDeziPunkt_, &QCheckBox::clicked, this, [this](bool on) {
    if (!on) eeNNullen_->setChecked(true);
  });
  QLabel* alt = Label(format, "LAlt1", "Alternative Achsen");
  alt->hide();
  groups->addWidget(format);

  auto* out = Named(new QGroupBox(QStringLiteral("Programmausgabe"), page), "LA1");
  auto* og = new QGridLayout(out);
  auto hint = [&](int row, const char* name, const char* text) {
    og->addWidget(Label(out, name, text), row, 4);
  };
  auto rz = [&](int row, const char* label, const char* text, const char* field, const char* minus,
                const char* plus) {
    auto w = intRow(og, row, out, label, text, field, minus, plus);
    auto* e = static_cast<QLineEdit*>(w[0]);
    connect(static_cast<QToolButton*>(w[1]), &QToolButton::clicked, this,
            [e] { TenthStep(e, -0.1L); });
    connect(static_cast<QToolButton*>(w[2]), &QToolButton::clicked, this,
            [e] { TenthStep(e, 0.1L); });
    return e;
  };
  eeRebene_ = rz(0, "LAS1", "Sicherheitsabstand (R)", "EERebene", "RMinus1", "RPlus1");
  hint(0, "LHintR", "[#RVAL]");
  eeZebene_ = rz(1, "LAZ1", "Zustelltiefe (Z)", "EEZebene", "ZMinus1", "ZPlus1");
  hint(1, "LHintZ", "[#ZVAL]");
  auto plain = [&](int row, const char* label, const char* text, const char* field) {
    og->addWidget(Label(out, label, text), row, 0);
    auto* e = Named(new QLineEdit(out), field);
    e->setMaximumWidth(90);
    og->addWidget(e, row, 1);
    return e;
  };
  eeVorschubZ_ = plain(2, "LAVZ1", "Vorschub Z-Achse", "EEVorschubZ");
  hint(2, "LHintF1", "[#F1VAL]");
  eeVorschubXY_ = plain(3, "LAVXY1", "Vorschub XY-Achse", "EEVorschubXY");
  hint(3, "LHintF2", "[#F2VAL]");
  eeSatznum_ = Named(new QCheckBox(QStringLiteral("Satznummerierung"), out), "EESatznum");
  og->addWidget(eeSatznum_, 4, 0, 1, 2);
  eeSatzzeichen_ = plain(5, "LZ1", "Zeichen", "EESatzzeichen");
  eeSatzzeichen_->setText(QStringLiteral("N"));
  auto schritt = intRow(og, 6, out, "LSchritt1", "Schritt", "EESatzschritt", "SNMinus1", "SNPlus1");
  eeSatzschritt_ = static_cast<QLineEdit*>(schritt[0]);
  eeSatzschritt_->setReadOnly(true);
  auto stepNumbering = [this](int delta) {
    if (!ParseNumber(S(eeSatzschritt_->text()))) return;
    IntegerStep(eeSatzschritt_, delta, 1, 99);
    eeStart_->setText(eeSatzschritt_->text());
  };
  connect(static_cast<QToolButton*>(schritt[1]), &QToolButton::clicked, this,
          [stepNumbering] { stepNumbering(-1); });
  connect(static_cast<QToolButton*>(schritt[2]), &QToolButton::clicked, this,
          [stepNumbering] { stepNumbering(+1); });
  eeStart_ = plain(7, "LStart", "Start", "EEstart");
  connect(eeStart_, &QLineEdit::textChanged, this, [this](const QString& text) {
    // The step text may itself be no number: replace once, not in a loop.
    if (!ParseNumber(S(text)) && text != eeSatzschritt_->text())
      eeStart_->setText(eeSatzschritt_->text());
  });
  eeSuffix_ = plain(8, "LSuffix", "Dateiendung", "EESuffix");
  groups->addWidget(out);
  v->addLayout(groups);

  v->addWidget(Label(page, "LSyntax", "Syntax:"));
  tabSyntax_ = Named(new QTabWidget(page), "ETabSyntax");
  const std::array<std::pair<const char*, const char*>, kTemplateKinds> tabs = {{
      {"Start", "ESyntaxS"},
      {"Anfahren XY", "ESyntaxA"},
      {"Tauchen Z", "ESyntaxZ"},
      {"Fahren XY", "ESyntaxXY"},
      {"Rückzug R", "ESyntaxR"},
      {"Ende", "ESyntaxE"},
  }};
  for (const auto& [title, name] : tabs) {
    auto* e = Named(new QPlainTextEdit(tabSyntax_), name);
    e->setLineWrapMode(QPlainTextEdit::NoWrap);
    e->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tabSyntax_->addTab(e, QString::fromUtf8(title));
    syntax_.push_back(e);
    connect(e, &QPlainTextEdit::textChanged, this, &TFSetup::updatePreview);
  }
  v->addWidget(tabSyntax_, 1);
  v->addWidget(Label(page, "LVorschau", "Vorschau"));
  preview_ = Named(new QPlainTextEdit(page), "ENCVorschau");
  preview_->setReadOnly(true);
  preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
  preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  v->addWidget(preview_, 1);

  for (QLineEdit* e : {eeProfil_, eeStellen_, eeNachkomma_, eeRebene_, eeZebene_, eeVorschubZ_,
                       eeVorschubXY_, eeSatzzeichen_, eeSatzschritt_, eeStart_, eeSuffix_})
    connect(e, &QLineEdit::textChanged, this, &TFSetup::updatePreview);
  for (QCheckBox* c :
       {eeDeziPunkt_, eeNCPunkt_, eeVNullen_, eeNNullen_, eeVorzeichen_, eeSatznum_})
    connect(c, &QCheckBox::toggled, this, &TFSetup::updatePreview);
  return page;
}

void TFSetup::fillLanguages() {
  sprache_->clear();
  for (int lang = 1; lang <= 4; ++lang) {
    std::string ignored;
    const bool found = ReadWholeFile(LanguageFilePath(lang, paths_.exeDir, paths_.dataDir), ignored);
    if (found || lang == std::max(job_.general.lang, 1))
      sprache_->addItem(QString::fromUtf8(kLanguageNames[static_cast<std::size_t>(lang - 1)]), lang);
  }
}

void TFSetup::loadGeneral() {
  const GeneralSettings& g = job_.general;
  eZieldir_->setText(Q(g.ncPath));
  eVorlagenDir_->setText(Q(g.voPath));
  eAufloesung_->setText(Q(g.Aufloesung));
  const int standard = (g.Profil >= 1 && g.Profil <= 4) ? g.Profil : 1;
  standard_[static_cast<std::size_t>(standard - 1)]->setChecked(true);
  const std::array<bool, 4> view = {g.XY, g.XZ, g.YZ, g.XYZ};
  const auto on = std::find(view.begin(), view.end(), true);
  views_[on == view.end() ? 3 : static_cast<std::size_t>(on - view.begin())]->setChecked(true);
  axisButt_->setChecked(g.AXIS);
  g0Butt_->setChecked(g.G0);
  hg_->setColour(g.HG);
  achsen_->setColour(g.Achsen);
  vorschub_->setColour(g.Vorschub);
  aVorschub_->setColour(g.AVorschub);
  eilgang_->setColour(g.Eilgang);
  rohteil_->setColour(g.Rohteil);
  fillLanguages();
  const int index = sprache_->findData(std::max(g.lang, 1));
  sprache_->setCurrentIndex(std::max(index, 0));
}

void TFSetup::storeGeneral() {
  GeneralSettings& g = job_.general;
  g.ncPath = S(eZieldir_->text());
  g.voPath = S(eVorlagenDir_->text());
  g.Aufloesung = S(eAufloesung_->text());
  for (std::size_t k = 0; k < standard_.size(); ++k)
    if (standard_[k]->isChecked()) g.Profil = static_cast<int32_t>(k + 1);
  g.XY = views_[0]->isChecked();
  g.XZ = views_[1]->isChecked();
  g.YZ = views_[2]->isChecked();
  g.XYZ = views_[3]->isChecked();
  g.AXIS = axisButt_->isChecked();
  g.G0 = g0Butt_->isChecked();
  g.HG = hg_->colour();
  g.Achsen = achsen_->colour();
  g.Vorschub = vorschub_->colour();
  g.AVorschub = aVorschub_->colour();
  g.Eilgang = eilgang_->colour();
  g.Rohteil = rohteil_->colour();
  if (sprache_->currentIndex() >= 0) g.lang = sprache_->currentData().toInt();
}

void TFSetup::applyCaptions() {
  if (!caption_) return;
  for (const CaptionEntry& c : SetupDialogCaptions()) {
    const QString text = Q(caption_(c.number));
    const QString name = QString::fromLatin1(c.control);
    if (name == QLatin1String("TFSetup")) {
      setWindowTitle(text);
    } else if (auto* b = findChild<QAbstractButton*>(name)) {
      // The four page buttons share one caption: the number tells them apart.
      const bool page = name.size() == 2 && name[0] == 'P';
      b->setText(page ? text + ' ' + name[1] : text);
    } else if (auto* l = findChild<QLabel*>(name)) {
      l->setText(text);
    } else if (auto* g = findChild<QGroupBox*>(name)) {
      g->setTitle(text);
    }
  }
  for (const ExtraCaption& c : kExtraCaptions)
    if (auto* l = findChild<QLabel*>(QString::fromLatin1(c.control)))
      l->setText(Q(caption_(c.number)));
}

void TFSetup::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) FormShow();
  QDialog::showEvent(e);
}

void TFSetup::FormShow() {
  shownPage_ = 0;
  pages_->setCurrentWidget(programPage_);
  findChild<QPushButton*>(QStringLiteral("MP"))->setChecked(true);
}

void TFSetup::PClick(int page) {
  if (shownPage_ != 0) storePage(shownPage_);
  shownPage_ = page;
  loadPage(page);
  findChild<QPushButton*>(QStringLiteral("P%1").arg(page))->setChecked(true);
}

void TFSetup::MPClick() {
  pages_->setCurrentWidget(programPage_);
  findChild<QPushButton*>(QStringLiteral("MP"))->setChecked(true);
}

void TFSetup::loadPage(int page) {
  const Profile& p = job_.profiles[static_cast<std::size_t>(page - 1)];
  loading_ = true;
  eeProfil_->setText(Q(p.Profil));
  for (std::size_t kind = 0; kind < syntax_.size(); ++kind) {
    QStringList lines;
    for (const std::string& l : p.templates[kind])
      if (!l.empty()) lines << Q(l);
    syntax_[kind]->setPlainText(lines.join('\n'));
  }
  eeStellen_->setText(Q(p.Stellen));
  eeNachkomma_->setText(Q(p.Nachkommastellen));
  eeDeziPunkt_->setChecked(p.Dezipunkt);
  eeNCPunkt_->setChecked(p.NCpunkt);
  eeVNullen_->setChecked(p.VNullen);
  eeNNullen_->setChecked(p.NNullen);
  eeVorzeichen_->setChecked(p.Vorzeichen);
  eeRebene_->setText(Q(p.REbene));
  eeZebene_->setText(Q(p.ZEbene));
  eeVorschubZ_->setText(Q(p.VorschubZ));
  eeVorschubXY_->setText(Q(p.VorschubXY));
  eeSatznum_->setChecked(p.Satznum);
  eeSatzzeichen_->setText(Q(p.Satzzeichen));
  eeSatzschritt_->setText(Q(p.Schritt));
  eeStart_->setText(Q(p.Start));
  eeSuffix_->setText(Q(p.Suffix));
  loading_ = false;
  pages_->setCurrentWidget(profilePage_);
  updatePreview();
}

Profile TFSetup::profileFromControls() const {
  Profile p;
  p.Profil = S(eeProfil_->text());
  p.REbene = S(eeRebene_->text());
  p.ZEbene = S(eeZebene_->text());
  p.VorschubZ = S(eeVorschubZ_->text());
  p.VorschubXY = S(eeVorschubXY_->text());
  for (std::size_t kind = 0; kind < syntax_.size(); ++kind) {
    const QStringList lines = syntax_[kind]->toPlainText().split('\n');
    for (int n = 0; n < kTemplateLines; ++n)
      p.templates[kind][static_cast<std::size_t>(n)] = n < lines.size() ? S(lines[n]) : "";
  }
  p.Suffix = S(eeSuffix_->text());
  p.Stellen = S(eeStellen_->text());
  p.Nachkommastellen = S(eeNachkomma_->text());
  p.Dezipunkt = eeDeziPunkt_->isChecked();
  p.NCpunkt = eeNCPunkt_->isChecked();
  p.VNullen = eeVNullen_->isChecked();
  p.NNullen = eeNNullen_->isChecked();
  p.Vorzeichen = eeVorzeichen_->isChecked();
  p.Satznum = eeSatznum_->isChecked();
  p.Satzzeichen = S(eeSatzzeichen_->text());
  p.Schritt = S(eeSatzschritt_->text());
  p.Start = S(eeStart_->text());
  return p;
}

void TFSetup::storePage(int page) {
  job_.profiles[static_cast<std::size_t>(page - 1)] = profileFromControls();
}

void TFSetup::updatePreview() {
  if (loading_ || shownPage_ == 0) return;
  std::string error;
  const std::vector<std::string> lines =
      PreviewProgramLines(profileFromControls(), job_, kPreviewLines, error);
  QStringList text;
  for (const std::string& l : lines) text << Q(l);
  preview_->setPlainText(error.empty() ? text.join('\n') : Q(error));
}

void TFSetup::SpeichernClick() {
  if (shownPage_ != 0) storePage(shownPage_);
  storeGeneral();
  // A refused write has been shown by the store; the dialog stays open with
  // its edits, and so it does when the chosen language file cannot be read.
  if (!SaveSettings(job_, paths_.configDir, paths_.exeDir, ui_, paths_.dataDir)) return;
  loadGeneral();
  applyCaptions();
  emit settingsSaved();
  accept();
}

void TFSetup::HilfeClick() {
  if (help_) help_();
}

void TFSetup::chooseFolder(QLineEdit* field) {
  if (!IsFolder(S(field->text()))) field->setText(Q(WithSlash(paths_.exeDir)));
  std::string start = S(field->text());
  // The root keeps its slash.
  if (start.size() > 1 && start.back() == '/') start.pop_back();
  const std::string chosen =
      files_.chooseFolder({start, "Auswahl Verzeichnis", "Verzeichnis auswählen"});
  if (!chosen.empty()) field->setText(Q(chosen));
}

void TFSetup::chooseColour(ColourSwatch* swatch) {
  if (const std::optional<int32_t> c = files_.chooseColour(swatch->colour())) swatch->setColour(*c);
}

}  // namespace korvane
