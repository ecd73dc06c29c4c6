#include "app/commands_ui.h"

#include <QAbstractButton>
#include <QAction>

#include "app/fmain_ui.h"

namespace korvane {
namespace {

bool Loaded(const CommandState& s) { return s.loaded; }
bool Accepted(const CommandState& s) { return s.loaded && s.job.contourAccepted; }
bool TracedAndAccepted(const CommandState& s) { return Accepted(s) && s.tracedDown; }

// One row per command; `tip` names the buttons without a caption or with a
// shortened one. `icon` is the glyph of the buttons that run the command.
// clang-format off
const CommandRow kCommands[] = {
    // name                  text  caption                        tip                        icon          key       enabled            run
    {"BTLoad",                  0, "Bilddatei öffnen ...",        nullptr,                   "open",       "Ctrl+O", nullptr,           [](Tfmain& w) { w.BTLoadClick(); }},
    {"NCProgrammspeichern1",    0, "NC-Programm &speichern ...",  "Speichern",               "save",       "Ctrl+S", nullptr,           [](Tfmain& w) { w.SpeichernClick(); }},
    {"Undo2",                   0, "Rückgängig",                  "Rückgängig",              "undo",       nullptr,  nullptr,           [](Tfmain& w) { w.Undo2Click(); }},
    {"Redo2",                   0, "Widerrufen",                  "Widerrufen",              "redo",       nullptr,  nullptr,           [](Tfmain& w) { w.Redo2Click(); }},
    {"Cut",                     0, "Ausschneiden",                "Ausschneiden",            "cut",        nullptr,  nullptr,           [](Tfmain& w) { w.CutClick(); }},
    {"copy1",                   0, "Kopieren",                    "Kopieren",                "copy",       nullptr,  nullptr,           [](Tfmain& w) { w.copy1Click(); }},
    {"paste1",                  0, "Einfügen",                    "Einfügen",                "paste",      nullptr,  nullptr,           [](Tfmain& w) { w.paste1Click(); }},
    {"MBildsave",               0, "&Bilddatei speichern ...",    "Bilddatei speichern ...", "save",       nullptr,  nullptr,           [](Tfmain& w) { w.Bildspeichern1Click(); }},
    {"MExport",                 0, "&Exportiere Kontur ...",      nullptr,                   nullptr,      nullptr,  nullptr,           [](Tfmain& w) { w.MExportClick(); }},
    {"MClose",                  0, "&Beenden",                    nullptr,                   nullptr,      "Ctrl+Q", nullptr,           [](Tfmain& w) { w.MCloseClick(); }},
    {"Einstellungen1",       2002, "&Einstellungen",              nullptr,                   "setup",      nullptr,  nullptr,           [](Tfmain& w) { w.Einstellungen1Click(); }},
    {"Info1",                   0, "&Info",                       "Info",                    "info",       nullptr,  nullptr,           [](Tfmain& w) { w.BInfoClick(); }},
    {"Hilfe1",               2008, "&Hilfe",                      nullptr,                   "help",       "F1",     nullptr,           [](Tfmain& w) { w.BHelpClick(); }},
    {"EAussen",                 0, "Aussen / Umriss",             nullptr,                   "outline",    nullptr,  Loaded,            [](Tfmain& w) { w.EAussenClick(ContourType::Outline); }},
    {"EInnen",                  0, "Mittellinie",                 nullptr,                   "centreline", nullptr,  Loaded,            [](Tfmain& w) { w.EAussenClick(ContourType::CentreLine); }},
    {"EAbtasten",               0, "Abtasten Oberfläche",         nullptr,                   "scan",       nullptr,  Loaded,            [](Tfmain& w) { w.EAussenClick(ContourType::Scan); }},
    {"EAbtastenn",              0, "Abtasten Oberfläche (negativ)", nullptr,                 "scanneg",    nullptr,  Loaded,            [](Tfmain& w) { w.EAussenClick(ContourType::ScanNegative); }},
    {"BConvert",                0, "Erstelle NC-Programm  ...",   nullptr,                   "convert",    nullptr,  Loaded,            [](Tfmain& w) { w.BConvertClick(); }},
    {"BScale",               3006, "Skalierung",                  nullptr,                   "scale",      nullptr,  Loaded,            [](Tfmain& w) { w.BScaleClick(); }},
    {"BPosition",               0, "Position",                    nullptr,                   "position",   nullptr,  Loaded,            [](Tfmain& w) { w.BPositionClick(); }},
    {"BDurchmesser",            0, "Durchmesser",                 nullptr,                   "diameter",   nullptr,  Loaded,            [](Tfmain& w) { w.BDurchmesserClick(); }},
    {"BWayOptimize",            0, "Wegoptimierung ...",          nullptr,                   "way",        nullptr,  Accepted,          [](Tfmain& w) { w.BWayOptimizeClick(); }},
    {"BAllowSwap",              0, "Weg umkehren erlaubt",        nullptr,                   "swap",       nullptr,  Accepted,          nullptr},
    {"BFindLines",              0, "Linienverfolgung ...",        nullptr,                   "lines",      nullptr,  TracedAndAccepted, [](Tfmain& w) { w.BFindLinesClick(); }},
    {"BBw",                     0, "Schwarz/Weiss",               nullptr,                   "bw",         nullptr,  nullptr,           [](Tfmain& w) { w.BBwClick(); }},
    {"BHkg",                    0, "Korrektur",                   "Helligkeit, Kontrast, Gamma", "hkg",    nullptr,  Loaded,            [](Tfmain& w) { w.BHkgClick(); }},
    {"BEFilter",                0, "Filter",                      "Filter",                  "filter",     nullptr,  Loaded,            [](Tfmain& w) { w.BEFilterClick(); }},
    {"BRot90",                  0, "Drehen",                      "Um 90° rechts drehen",    "rot90",      nullptr,  Loaded,            [](Tfmain& w) { w.BRot90Click(); }},
    {"BFlipV",                  0, "Spiegeln links/rechts",       "Spiegeln links/rechts",   "flipv",      nullptr,  Loaded,            [](Tfmain& w) { w.BFlipVClick(); }},
    {"BFlipH",                  0, "Spiegeln oben/unten",         "Spiegeln oben/unten",     "fliph",      nullptr,  Loaded,            [](Tfmain& w) { w.BFlipHClick(); }},
    {"BResize",                 0, "Größe ändern",                "Größe ändern",            "resize",     nullptr,  Loaded,            [](Tfmain& w) { w.BResizeClick(); }},
};
// clang-format on

}  // namespace

// The tooltip of a command's buttons (an action's own tooltip would also
// show in the menus).
constexpr const char* kTipProperty = "commandTip";

std::span<const CommandRow> MainCommands() { return kCommands; }

Commands::Commands(Tfmain& w) : QObject(&w) {
  for (const CommandRow& row : kCommands) {
    auto* a = new QAction(QString::fromUtf8(row.german), &w);
    a->setObjectName(QString::fromLatin1(row.name));
    if (row.tip) a->setProperty(kTipProperty, QString::fromUtf8(row.tip));
    if (row.shortcut) {
      a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
      a->setShortcutContext(Qt::WindowShortcut);
    }
    if (auto run = row.run) connect(a, &QAction::triggered, &w, [run, &w] { run(w); });
    w.addAction(a);  // shortcuts work whether or not a menu shows the action
    actions_[row.name] = {a, &row};
  }
}

QAction* Commands::action(const char* name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second.first;
}

void Commands::update(const CommandState& state) {
  for (const auto& [name, entry] : actions_) {
    if (entry.second->enabled) entry.first->setEnabled(entry.second->enabled(state));
  }
}

void Commands::bind(QAbstractButton* button, QAction* action) {
  button->setEnabled(action->isEnabled());
  const QString tip = action->property(kTipProperty).toString();
  if (button->toolTip().isEmpty() && !tip.isEmpty()) button->setToolTip(tip);
  connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
  connect(action, &QAction::changed, button,
          [button, action] { button->setEnabled(action->isEnabled()); });
}

}  // namespace korvane
