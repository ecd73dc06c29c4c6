#pragma once
// The main window's commands as one table of QActions. Buttons and menu items
// share the actions: a button bound to an action runs it when clicked and
// follows its enabled state. SetButtons is the evaluation of the rules.
#include <QObject>
#include <map>
#include <span>
#include <string>

#include "core/job.h"

class QAbstractButton;
class QAction;

namespace korvane {

class Tfmain;

// What an enabled-when rule may look at.
struct CommandState {
  const Job& job;
  bool loaded;      // a picture file is loaded
  bool tracedDown;  // "Aussen / Umriss" or "Mittellinie" is down
};

struct CommandRow {
  const char* name;                      // objectName of the action
  int caption;                           // language text number of the caption, 0: none
  const char* german;                    // caption as designed ("&" marks the menu mnemonic)
  const char* tip;                       // tooltip, nullptr: none
  const char* icon;                      // ":/icons/<icon>.svg", nullptr: none
  const char* shortcut;                  // portable key text ("Ctrl+O"), nullptr: none
  bool (*enabled)(const CommandState&);  // nullptr: always enabled
  void (*run)(Tfmain&);                  // nullptr: a toggle without a handler
};

std::span<const CommandRow> MainCommands();

class Commands : public QObject {
  Q_OBJECT
 public:
  // Creates one action per row, owned by `w`, with its shortcut active in
  // the whole window.
  explicit Commands(Tfmain& w);

  QAction* action(const char* name) const;
  // Set every action's enabled state from its rule.
  void update(const CommandState& state);
  // `button` runs `action` when clicked and is enabled with it. Its caption
  // and checked state stay its own.
  static void bind(QAbstractButton* button, QAction* action);

 private:
  std::map<std::string, std::pair<QAction*, const CommandRow*>> actions_;
};

}  // namespace korvane
