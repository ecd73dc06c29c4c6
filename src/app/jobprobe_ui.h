#pragma once
// A measured run of a whole job through the real main window, for the
// large-job checks: `korvane --measure PICTURE [--follow-lines] [--optimise]
// [--accept-shot PNG]`
// converts the picture with the outline, answers every question with Yes,
// runs the chosen list commands and prints, on stdout, the time of every
// status text, the longest gaps between event-loop turns with the status
// shown around them, and the memory the job holds. Then the program quits.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QTimer;

namespace korvane {

class Tfmain;

// Watches the event loop: a short timer that can only fire while events are
// processed; a long wait between two firings is a time the window did not
// answer. Each gap keeps the status text shown when it began and ended.
class EventLoopProbe : public QObject {
 public:
  struct Gap {
    double ms = 0;       // length of the gap
    double startMs = 0;  // when it began, from start()
    QString before, after;
  };

  EventLoopProbe(std::function<QString()> status, QObject* parent = nullptr);
  void start();
  void stop();
  double elapsedMs() const { return clock_.nsecsElapsed() / 1e6; }
  // The longest gaps, longest first.
  std::vector<Gap> longest(size_t n) const;
  // Every gap of at least `ms`, in the order they happened.
  std::vector<Gap> atLeast(double ms) const;

 private:
  void tick();

  std::function<QString()> status_;
  QTimer* timer_;
  QElapsedTimer clock_;
  double last_ = 0;
  QString lastText_;
  std::vector<Gap> gaps_;  // every gap above the timer's own interval
};

struct MeasureOptions {
  bool followLines = false;
  bool optimise = false;
  // When set: a screen shot of the window with the acceptance question open
  // over the marked result, saved under this name.
  QString acceptShot;
};

// Runs the job on the picture the window has opened and prints the report.
void RunMeasuredJob(Tfmain& w, const MeasureOptions& options);

}  // namespace korvane
