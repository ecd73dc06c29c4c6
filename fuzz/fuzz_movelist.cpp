// libFuzzer target: the simulation's move-list reader and replay. Every move
// but a placement starts where the one before it ended, a line gives at most
// three moves, and replaying the text line by line gives the same moves as
// replaying the parsed list.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "sim/interpreter.h"
#include "sim/movelist.h"

namespace {
using korvane::Point3;

bool Same(long double a, long double b) { return a == b || (std::isnan(a) && std::isnan(b)); }
bool Same(const Point3& a, const Point3& b) {
  return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z);
}

struct Move {
  int kind;  // 0 placement, 1 rapid, 2 feed
  Point3 from, to;
};

class Recorder : public korvane::MoveSink {
 public:
  std::vector<Move> moves;
  void placement(const Point3& at) override { moves.push_back({0, at, at}); }
  void rapid(const Point3& from, const Point3& to) override { moves.push_back({1, from, to}); }
  void feed(const Point3& from, const Point3& to) override { moves.push_back({2, from, to}); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  korvane::LineStore lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }

  Recorder byText;
  korvane::MoveInterpreter textReplay(byText);
  textReplay.reset();
  size_t readLines = 0;
  for (std::string_view l : lines) {
    if (!textReplay.Paintway(l)) break;
    ++readLines;
  }

  Recorder byList;
  korvane::MoveInterpreter listReplay(byList);
  listReplay.reset();
  const korvane::MoveList list(lines);
  for (const korvane::MoveRecord& r : list.records()) {
    if (!listReplay.Paintway(r, list)) break;
  }

  const auto& moves = byText.moves;
  if (moves.size() > 3 * (readLines + 1)) std::abort();
  for (size_t i = 1; i < moves.size(); ++i)
    if (moves[i].kind != 0 && !Same(moves[i].from, moves[i - 1].to)) std::abort();
  if (byList.moves.size() != moves.size()) std::abort();
  for (size_t i = 0; i < moves.size(); ++i)
    if (byList.moves[i].kind != moves[i].kind || !Same(byList.moves[i].from, moves[i].from) ||
        !Same(byList.moves[i].to, moves[i].to))
      std::abort();
  return 0;
}
