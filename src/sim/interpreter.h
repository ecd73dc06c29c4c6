#pragma once
// Replays the move list as tool moves in three dimensions. Every path is
// entered from above: the first approach of a pass runs at the start height P
// from the machine origin, later ones at the retract height R, and a feed
// line plunges to the infeed depth Z first when the tool is not at depth.
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/movelist.h"

namespace korvane {

struct Point3 {
  long double x = 0, y = 0, z = 0;
  bool operator==(const Point3&) const = default;
};

// The drawing surface the interpreter hands its moves to.
class MoveSink {
 public:
  virtual ~MoveSink() = default;
  virtual void placement(const Point3& at) = 0;  // pen put down, nothing drawn
  virtual void rapid(const Point3& from, const Point3& to) = 0;
  virtual void feed(const Point3& from, const Point3& to) = 0;
};

class MoveInterpreter {
 public:
  enum class VerticalKind { Rapid, Feed };

  explicit MoveInterpreter(MoveSink& sink) : sink_(&sink) {}

  void setSink(MoveSink& sink) { sink_ = &sink; }
  // State at the start of a drawing pass.
  void reset();

  // Replays one line. False (with `error` set) when the line cannot be read;
  // nothing of it is replayed then.
  bool Paintway(std::string_view line, std::string* error = nullptr);
  bool Paintway(const MoveRecord& record, const MoveList& list, std::string* error = nullptr);

  // A rapid line (feed false) or a feed line (feed true) to (x, y).
  void PaintLinie(long double x, long double y, bool feed);
  // One vertical move of the given kind to height h.
  void PaintZLinie(VerticalKind kind, long double h);

  // Interpreter state, readable for tests and for the tool-position mark.
  long double toolX = 0, toolY = 0, height = 0;
  long double P = 0, R = 0, Z = 0;
  bool plunged = false;
  bool firstMove = true;

 private:
  void header(long double p, long double r, const long double* z);
  MoveSink* sink_;
};

// What a drawing pass needs from the window around it while it replays.
class PassHooks {
 public:
  virtual ~PassHooks() = default;
  // Read at every line: the slow mode may be switched while the pass runs.
  virtual bool slowMode() = 0;
  virtual int pausePerLine() = 0;
  virtual void delay(int ms) = 0;
  virtual void processEvents() = 0;
  // Called after each line has been replayed, with its record.
  virtual void lineDone(const MoveRecord&) {}
};

struct ReplayResult {
  bool ok = true;
  int64_t failedLine = -1;  // index of the unreadable line
  std::string error;
};

// The replay of a drawing pass: every record in order, the pause of the slow
// mode after each line, pending events every 1000 lines (the first included).
// Stops at the first unreadable line. Does not reset the interpreter.
ReplayResult ReplayMoveList(const MoveList& list, MoveInterpreter& interp, PassHooks& hooks);

}  // namespace korvane
