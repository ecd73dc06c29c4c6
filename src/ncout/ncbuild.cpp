#include "ncout/ncbuild.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "base/numtext.h"
#include "base/percent.h"
#include "ncout/ncnumber.h"
#include "sim/movelist.h"

namespace korvane {

namespace {

constexpr std::array<std::string_view, 6> kPlaceholders = {"[#XVAL]", "[#YVAL]",  "[#ZVAL]",
                                                           "[#RVAL]", "[#F1VAL]", "[#F2VAL]"};

// Characters of an NC line as the editor counts them: no blanks, and a
// multi-byte character counts once.
int64_t CountedChars(std::string_view text) {
  int64_t n = 0;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c != ' ' && (u & 0xC0) != 0x80) ++n;
  }
  return n;
}

class Emitter {
 public:
  Emitter(const ActiveProfile& profile, int32_t& blockCounter, LineStore& lines)
      : profile_(profile), blockCounter_(blockCounter), lines_(lines), format_(profile.format) {
    values_[4] = profile.VorschubZ;
    values_[5] = profile.VorschubXY;
  }

  std::string x, y, depth, retract;

  void emit(TemplateKind kind) {
    values_[0] = x;
    values_[1] = y;
    values_[2] = depth;
    values_[3] = retract;
    for (const std::string& line : profile_.templates[kind]) {
      if (line.empty()) continue;
      work_ = line;
      // Two passes; each replaces the first occurrence of every placeholder
      // in table order, so at most two occurrences of one placeholder go.
      if (work_.find("[#") != std::string::npos) {
        for (int pass = 0; pass < 2; ++pass) {
          for (size_t p = 0; p < kPlaceholders.size(); ++p) {
            const size_t at = work_.find(kPlaceholders[p]);
            if (at != std::string::npos) work_.replace(at, kPlaceholders[p].size(), values_[p]);
          }
        }
      }
      std::string_view counted = work_;
      if (profile_.Satznum && !counted.empty() && counted.front() == '-') {
        counted.remove_prefix(1);
      }
      chars += CountedChars(counted);
      ++count;
      line_.clear();
      AppendNumberBlock(line_, work_, blockCounter_, format_, profile_.Satznum);
      lines_.push_back(line_);
    }
  }

  int64_t chars = 0;
  int64_t count = 0;

 private:
  const ActiveProfile& profile_;
  int32_t& blockCounter_;
  LineStore& lines_;
  const TNCFormat& format_;
  std::array<std::string_view, 6> values_;
  std::string work_;  // the template line being filled in
  std::string line_;  // the same with its block number
};

// The NC line a move comes from: the last line written so far (the header
// and a template that writes nothing keep the line before).
int32_t LastLine(const LineStore& lines) {
  return lines.empty() ? 0 : static_cast<int32_t>(lines.size() - 1);
}

}  // namespace

NCProgram BuildNC(const SegmentList& segments, const BoundingRect& rect, const NCOutputParams& params,
                  const ActiveProfile& profile, NCBuilderState& state, ProgressSink& progress,
                  NCProgram reuse) {
  NCProgram result = std::move(reuse);
  result.status = NCBuildStatus::Failed;
  result.error.clear();
  result.lines.clear();
  result.moves.clear();
  result.moveLines.clear();
  result.extents.reset();
  result.charCount = result.lineCount = 0;
  result.segmentCount = 0;
  LineStore& lines = result.lines;
  LineStore& moves = result.moves;
  std::vector<int32_t>& moveLines = result.moveLines;
  long double prevX = -99999999.0L, prevY = -99999999.0L;

  const long double gap = static_cast<long double>(params.joinGap);
  const long double scale = params.scale;
  const std::optional<long double> xOffset = ParseNumber(params.xOffsetText);
  if (!xOffset) {
    result.error = NotANumberText(params.xOffsetText);
    return result;
  }
  const std::optional<long double> yOffset = ParseNumber(params.yOffsetText);
  if (!yOffset) {
    result.error = NotANumberText(params.yOffsetText);
    return result;
  }
  auto machineX = [&](long double x) { return x * scale + *xOffset; };
  auto machineY = [&](long double y) { return -y * scale + *yOffset; };
  result.extents = MachineExtents{machineX(rect.minX), machineX(rect.maxX), machineY(rect.minY),
                                  machineY(rect.maxY)};

  const TNCFormat& format = profile.format;
  int32_t& counter = state.blockCounter;
  Emitter out(profile, counter, lines);
  const int32_t count = segments.count();
  const bool withMoves = params.moveList;
  if (count > 0) {
    counter = format.Start;
    if (withMoves) {
      moveLines.reserve(static_cast<size_t>(count) + 64);
      moves.push_back(HeaderLine(profile.REbene, profile.ZEbene));
      moveLines.push_back(0);
    }
    const std::optional<long double> depth = ParseNumber(profile.ZEbene);
    if (!depth) {
      result.error = NotANumberText(profile.ZEbene);
      return result;
    }
    const std::optional<long double> retract = ParseNumber(profile.REbene);
    if (!retract) {
      result.error = NotANumberText(profile.REbene);
      return result;
    }
    out.depth = FormatNCNumber(format, *depth);
    out.retract = FormatNCNumber(format, *retract);
    out.emit(kSynS);
    const std::string progressText = kBuildProgressText;
    for (int32_t k = 0; k < count; ++k) {
      const Segment& s = segments[k];
      const long double x2 = machineX(s.x2), y2 = machineY(s.y2);
      // The far-away previous end alone would let a huge join gap swallow
      // the first path start, so the first record starts a path outright.
      if (k == 0 || std::fabs(prevX - s.x1) > gap || std::fabs(prevY - s.y1) > gap) {
        const long double x1 = machineX(s.x1), y1 = machineY(s.y1);
        out.x = FormatNCNumber(format, x1);
        out.y = FormatNCNumber(format, y1);
        out.emit(kSynR);
        out.emit(kSynA);
        if (withMoves) {
          moves.push_back(RapidLine(x1, y1));
          moveLines.push_back(LastLine(lines));
        }
        out.x = FormatNCNumber(format, x2);
        out.y = FormatNCNumber(format, y2);
        out.emit(kSynZ);
        out.emit(kSynXY);
      } else {
        out.x = FormatNCNumber(format, x2);
        out.y = FormatNCNumber(format, y2);
        out.emit(kSynXY);
      }
      if (withMoves) {
        moves.push_back(FeedLine(x2, y2));
        moveLines.push_back(LastLine(lines));
      }
      prevX = s.x2;
      prevY = s.y2;
      progress.report(progressText, CountPercent(k + 1, count));
    }
  }
  out.emit(kSynR);
  out.emit(kSynE);

  result.charCount = out.chars;
  result.lineCount = out.count;
  result.segmentCount = count;
  result.status = NCBuildStatus::Built;
  return result;
}

}  // namespace korvane
