#include "sim/movelist.h"

#include "base/numtext.h"

namespace korvane {

std::string HeaderLine(std::string_view retractText, std::string_view depthText) {
  std::string s = "8;0;";
  s += retractText;
  s += ';';
  s += depthText;
  return s;
}

namespace {

std::string PointLine(char kind, long double x, long double y) {
  std::string s;
  s.reserve(24);
  s += kind;
  s += ';';
  s += FormatFixed(x, 3);
  s += ';';
  s += FormatFixed(y, 3);
  return s;
}

}  // namespace

std::string RapidLine(long double x, long double y) { return PointLine(kRapidKind, x, y); }
std::string FeedLine(long double x, long double y) { return PointLine(kFeedKind, x, y); }

LineFields GetPos(std::string_view line) {
  LineFields out;
  std::string_view rest = line.size() > 2 ? line.substr(2) : std::string_view{};
  std::string_view f1, f2, f3;
  size_t at = rest.find(';');
  f1 = rest.substr(0, at);
  rest = at == std::string_view::npos ? std::string_view{} : rest.substr(at + 1);
  at = rest.find(';');
  if (at != std::string_view::npos) {
    f2 = rest.substr(0, at);
    f3 = rest.substr(at + 1);
  } else {
    f2 = rest;
  }
  const auto read = [&](std::string_view text, long double& into) {
    if (!out.ok()) return;
    const std::optional<long double> v = ParseNumber(text);
    if (v) {
      into = *v;
    } else {
      out.error = NotANumberText(text);
    }
  };
  read(f1, out.f1);
  read(f2, out.f2);
  if (!f3.empty()) {
    long double z = 0;
    read(f3, z);
    if (out.ok()) out.f3 = z;
  }
  return out;
}

void MoveList::clear() {
  records_.clear();
  headerZ_.clear();
  errors_.clear();
}

void MoveList::assign(const LineStore& lines) {
  clear();
  records_.reserve(lines.size());
  for (std::string_view line : lines) append(line);
}

void MoveList::append(std::string_view line) {
  MoveRecord r;
  r.source = static_cast<int32_t>(records_.size());
  const char kind = line.empty() ? '\0' : line.front();
  if (kind == kHeaderKind || kind == kRapidKind || kind == kFeedKind) {
    const LineFields f = GetPos(line);
    if (!f.ok()) {
      r.kind = MoveKind::Unreadable;
      r.extra = static_cast<uint32_t>(errors_.size());
      errors_.push_back(f.error);
    } else {
      r.a = f.f1;
      r.b = f.f2;
      if (kind == kHeaderKind) {
        r.kind = MoveKind::Header;
        if (f.f3) {
          r.hasZ = true;
          r.extra = static_cast<uint32_t>(headerZ_.size());
          headerZ_.push_back(*f.f3);
        }
      } else {
        r.kind = kind == kRapidKind ? MoveKind::Rapid : MoveKind::Feed;
      }
    }
  }
  records_.push_back(r);
}

size_t MoveList::memoryBytes() const {
  size_t n = records_.capacity() * sizeof(MoveRecord) + headerZ_.capacity() * sizeof(long double) +
             errors_.capacity() * sizeof(std::string);
  for (const std::string& e : errors_) n += e.capacity();
  return n;
}

}  // namespace korvane
