// libFuzzer target: the move-list reader. Every move but a placement starts
// where the one before it ended, and a line gives at most three moves.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "movelist_reader.h"

namespace {
bool Same(long double a, long double b) { return a == b || (std::isnan(a) && std::isnan(b)); }
bool Same(const korvane::fuzz::Point3& a, const korvane::fuzz::Point3& b) {
  return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  korvane::fuzz::MoveListReader reader;
  size_t lines = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lines;
    if (!reader.line(line) || end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  const auto& moves = reader.moves();
  if (moves.size() > 3 * lines) std::abort();
  for (size_t i = 1; i < moves.size(); ++i)
    if (moves[i].kind != korvane::fuzz::MoveKind::Placement && !Same(moves[i].from, moves[i - 1].to))
      std::abort();
  return 0;
}
