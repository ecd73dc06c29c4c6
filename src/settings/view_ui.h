#pragma once
// What the main window knows of its views, and the news they receive.
//
// A view (picture, NC program, NC graphic, stock) is one page of the main
// window's right area with its own tool bar. The main window creates the views
// from its registration list, stacks their pages and switches between them
// with the view bar; everything else it tells them goes through JobEvents.
#include <QObject>
#include <functional>

#include "core/job.h"

class QAction;
class QWidget;

namespace korvane {

// News about the job, emitted by the main window's commands after the job
// changed; views connect to the signals they care about.
class JobEvents : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 signals:
  // A new picture was opened (the job was reset for it).
  void pictureOpened();
  // The working image changed in size or content (opened, thresholded,
  // marked by a run, restored).
  void pictureChanged();
  // A conversion run begins (the NC program of the last run is void).
  void runStarted();
  // A rebuild of the accepted contour's program begins (the shown one is void).
  void buildStarting();
  // A contour was accepted by the user or by a silent re-run.
  void contourAccepted();
  // The NC builder finished; ok false: retract height or depth not a number.
  // The program, move list, counts and extents are in the job.
  void programBuilt(bool ok);
  // Settings were loaded (start, setup dialog saved): profiles, active
  // profile, general settings and language texts are in the job.
  void settingsApplied();
};

// What a view gets from the main window when it is created.
struct ViewContext {
  Job& job;
  JobEvents& events;
  // The main window's command actions by objectName (nullptr for an unknown
  // name), for tool-bar buttons that run a main-window command.
  std::function<QAction*(const char*)> command;
  // LockButtons: disable (true) or enable again the main window's left
  // column, button bar and view bar, e.g. while a long drawing pass runs.
  std::function<void(bool)> lockButtons;
  QWidget* parent = nullptr;
  // The main window's progress report, for views that load large results.
  ProgressSink* progress = nullptr;
};

class View {
 public:
  virtual ~View() = default;
  // The page shown in the main window's right area (tool bar and body);
  // carries the panel's objectName (PImage, PProgramm, PGrafik, PRohteil).
  virtual QWidget* page() = 0;
  // The view's own tool bar inside page(), or nullptr when it has none.
  virtual QWidget* toolbar() = 0;
  // Its view command ran: the page is the visible one now (also when it
  // already was; the NC graphic redraws then). / It stops being visible.
  virtual void activated() {}
  virtual void deactivated() {}
};

}  // namespace korvane
