#include "app/cliopts.h"

#include <charconv>
#include <cstring>
#include <functional>

#include "base/numtext.h"
#include "export/export.h"
#include "ncout/outparams.h"
#include "image/decode.h"
#include "image/resizelink.h"

namespace korvane {

const char* const kCliUsage =
    "Usage: korvane-cli PICTURE -o PROGRAM [options]\n"
    "       korvane-cli PICTURE --export CONTOUR [-o PROGRAM] [options]\n"
    "       korvane-cli PICTURE --save-picture FILE [preparation options]\n"
    "Converts a picture (BMP, JPEG, PNG, ICO, WMF, EMF) into an NC program.\n"
    "\n"
    "  -o, --output PROGRAM     NC program to write (required without --export\n"
    "                           or --save-picture)\n"
    "  --contour TYPE           outline (default), centreline, scan, scan-negative\n"
    "  --threshold N            threshold 0..255 for pictures that are not black and\n"
    "                           white (default 128)\n"
    "  --profile 1..4|NAME      output profile (default: the standard profile)\n"
    "  --scale MM_PER_PIXEL     output scale (default 1)\n"
    "  --origin PLACE           centre (default), top-left, bottom-left, bottom-right,\n"
    "                           top-right: the picture point put at the machine origin\n"
    "  --diameter MM            tool diameter: join gap for outline and centre line,\n"
    "                           line spacing for the scans\n"
    "  --follow-lines           merge segments that continue in the same direction\n"
    "  --optimise               reorder the paths for short moves between them\n"
    "  --no-reverse             with --optimise: never reverse a segment\n"
    "  --config DIR             settings folder (default: $KORVANE_CONFIG_DIR, else\n"
    "                           Korvane1/config under the documents folder)\n"
    "  --moves FILE             also write the simulation move list\n"
    "  --export CONTOUR         also write the contour in pixel units: DXF, HPGL or\n"
    "                           SVG by the extension .dxf, .plt or .svg\n"
    "  --quiet                  no progress and no summary\n"
    "\n"
    "Preparation, applied in the order given, before the black-and-white step:\n"
    "  --brightness N, --contrast N, --gamma N\n"
    "                           correction -100..100; together one tone table,\n"
    "                           applied where the first of them stands\n"
    "  --filter NAME            grenzwert, hipass, kanten, scharf, praegen, weich\n"
    "                           (repeatable)\n"
    "  --grey                   grey levels\n"
    "  --invert                 invert the colours\n"
    "  --rotate 90|180|270      rotate clockwise\n"
    "  --mirror lr|tb           mirror left to right or top to bottom\n"
    "  --resize WxH             nearest-neighbour resize, each side at least 10\n"
    "  --save-picture FILE      write the prepared picture as a 32-bit bitmap;\n"
    "                           without -o nothing else is done\n"
    "  -h, --help               this text\n"
    "\n"
    "Exit status: 0 done, 1 picture or conversion error, 2 usage error.\n";

namespace {

// The scale dialog sets the scale through the output size, 0.1 to 9999999 mm,
// for pictures of up to 16384 pixels a side; the diameter field takes up to
// 9999999 mm. Values beyond these give no usable program (4000-digit or
// all-zero coordinates).
constexpr long double kLongestSide = 16384.0L;
constexpr long double kMinScale = ScaleDialogModel::kMinOut / kLongestSide;
constexpr long double kMaxScale = ScaleDialogModel::kMaxOut;
constexpr long double kMaxDiameter = 9999999.0L;

bool ParseContour(const std::string& s, ContourType& t) {
  if (s == "outline") t = ContourType::Outline;
  else if (s == "centreline" || s == "centerline") t = ContourType::CentreLine;
  else if (s == "scan") t = ContourType::Scan;
  else if (s == "scan-negative") t = ContourType::ScanNegative;
  else return false;
  return true;
}

bool ParseOrigin(const std::string& s, Origin& o) {
  if (s == "centre" || s == "center") o = Origin::Centre;
  else if (s == "top-left") o = Origin::TopLeft;
  else if (s == "bottom-left") o = Origin::BottomLeft;
  else if (s == "bottom-right") o = Origin::BottomRight;
  else if (s == "top-right") o = Origin::TopRight;
  else return false;
  return true;
}

bool ParseWhole(const std::string& s, int64_t lo, int64_t hi, int64_t& out) {
  int64_t n = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), n);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || n < lo || n > hi) return false;
  out = n;
  return true;
}

// One preparation option; false with `error` set when it is not one or its
// value is wrong. `handled` tells whether `a` was a preparation option.
bool ParsePrepareOption(const std::string& a, const std::function<bool(std::string&)>& needValue,
                        CliOptions& opt, bool& handled, std::string& error) {
  using Kind = PrepareStep::Kind;
  handled = true;
  std::string v;
  PrepareStep step;
  if (a == "--brightness" || a == "--contrast" || a == "--gamma") {
    if (!needValue(v)) return false;
    int64_t n = 0;
    if (!ParseWhole(v, -100, 100, n)) {
      error = a.substr(2) + " must be a whole number from -100 to 100";
      return false;
    }
    // The three sliders make one table, placed where the first of them stands.
    PrepareStep* levels = nullptr;
    for (PrepareStep& s : opt.prepare)
      if (s.kind == Kind::Levels) levels = &s;
    if (levels == nullptr) {
      opt.prepare.push_back(PrepareStep{});
      levels = &opt.prepare.back();
    }
    (a == "--brightness" ? levels->brightness
     : a == "--contrast" ? levels->contrast
                         : levels->gamma) = static_cast<int>(n);
    return true;
  }
  if (a == "--filter") {
    if (!needValue(v)) return false;
    const auto f = FilterByName(v);
    if (!f) {
      error = "unknown filter '" + v + "'";
      return false;
    }
    step.kind = Kind::Filter;
    step.filter = *f;
  } else if (a == "--grey" || a == "--gray") {
    step.kind = Kind::Grey;
  } else if (a == "--invert") {
    step.kind = Kind::Invert;
  } else if (a == "--rotate") {
    if (!needValue(v)) return false;
    if (v != "90" && v != "180" && v != "270") {
      error = "rotate must be 90, 180 or 270";
      return false;
    }
    step.kind = Kind::Rotate;
    step.quarterTurns = std::stoi(v) / 90;
  } else if (a == "--mirror") {
    if (!needValue(v)) return false;
    if (v != "lr" && v != "tb") {
      error = "mirror must be lr or tb";
      return false;
    }
    step.kind = v == "lr" ? Kind::MirrorLeftRight : Kind::MirrorTopBottom;
  } else if (a == "--resize") {
    if (!needValue(v)) return false;
    const size_t x = v.find_first_of("xX");
    int64_t w = 0, h = 0;
    if (x == std::string::npos ||
        !ParseWhole(v.substr(0, x), kResizeFieldMin, kResizeFieldMax, w) ||
        !ParseWhole(v.substr(x + 1), kResizeFieldMin, kResizeFieldMax, h)) {
      error = "resize must be WIDTHxHEIGHT, each from 10 to 9999999";
      return false;
    }
    if (w * h > kMaxPicturePixels) {
      error = "resize " + v + " is larger than any picture can be";
      return false;
    }
    step.kind = Kind::Resize;
    step.width = static_cast<int32_t>(w);
    step.height = static_cast<int32_t>(h);
  } else {
    handled = false;
    return true;
  }
  opt.prepare.push_back(step);
  return true;
}

}  // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& opt, std::string& error) {
  std::string pictureArg;
  bool havePicture = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    std::string value;
    bool hasInlineValue = false;
    if (a.rfind("--", 0) == 0) {
      auto eq = a.find('=');
      if (eq != std::string::npos) {
        value = a.substr(eq + 1);
        a = a.substr(0, eq);
        hasInlineValue = true;
      }
    }
    auto needValue = [&](std::string& out) {
      if (hasInlineValue) {
        out = value;
        return true;
      }
      if (i + 1 >= argc) {
        error = "option " + a + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    auto noValue = [&]() {
      if (hasInlineValue) {
        error = "option " + a + " takes no value";
        return false;
      }
      return true;
    };
    std::string v;
    bool prepareOption = false;
    if (!ParsePrepareOption(a, needValue, opt, prepareOption, error)) return false;
    if (prepareOption) {
      if ((a == "--grey" || a == "--gray" || a == "--invert") && !noValue()) return false;
      continue;
    }
    if (a == "-h" || a == "--help") {
      if (!noValue()) return false;
      opt.help = true;
      return true;
    } else if (a == "-o" || a == "--output") {
      if (!needValue(opt.output)) return false;
    } else if (a == "--contour") {
      if (!needValue(v)) return false;
      if (!ParseContour(v, opt.contour)) {
        error = "unknown contour type '" + v + "'";
        return false;
      }
    } else if (a == "--threshold") {
      if (!needValue(v)) return false;
      int n = -1;
      auto r = std::from_chars(v.data(), v.data() + v.size(), n);
      if (r.ec != std::errc() || r.ptr != v.data() + v.size() || n < 0 || n > 255) {
        error = "threshold must be a whole number from 0 to 255";
        return false;
      }
      opt.threshold = n;
    } else if (a == "--profile") {
      if (!needValue(opt.profile)) return false;
      if (opt.profile.empty()) {
        error = "empty profile";
        return false;
      }
    } else if (a == "--scale") {
      if (!needValue(v)) return false;
      auto s = ParseNumber(v);
      if (!s || !(*s >= kMinScale && *s <= kMaxScale)) {
        error = "scale must be a number from " + FormatGeneral(kMinScale) + " to " +
                FormatGeneral(kMaxScale);
        return false;
      }
      opt.scale = *s;
    } else if (a == "--origin") {
      if (!needValue(v)) return false;
      if (!ParseOrigin(v, opt.origin)) {
        error = "unknown origin '" + v + "'";
        return false;
      }
    } else if (a == "--diameter") {
      if (!needValue(v)) return false;
      auto d = ParseNumber(v);
      if (!d || !(*d >= 0 && *d <= kMaxDiameter)) {
        error = "diameter must be a number from 0 to " + FormatGeneral(kMaxDiameter);
        return false;
      }
      opt.diameter = *d;
      opt.diameterText = v;
    } else if (a == "--save-picture") {
      if (!needValue(opt.savePicture)) return false;
    } else if (a == "--config") {
      if (!needValue(opt.configDir)) return false;
    } else if (a == "--moves") {
      if (!needValue(opt.moves)) return false;
    } else if (a == "--export") {
      if (!needValue(opt.exportFile)) return false;
      if (!ExportFormatForFile(opt.exportFile)) {
        error = "export file '" + opt.exportFile + "' must end in .dxf, .plt or .svg";
        return false;
      }
    } else if (a == "--quiet") {
      if (!noValue()) return false;
      opt.quiet = true;
    } else if (a == "--follow-lines") {
      if (!noValue()) return false;
      opt.followLines = true;
    } else if (a == "--optimise" || a == "--optimize") {
      if (!noValue()) return false;
      opt.optimise = true;
    } else if (a == "--no-reverse") {
      if (!noValue()) return false;
      opt.noReverse = true;
    } else if (a.size() > 1 && a[0] == '-') {
      error = "unknown option " + a;
      return false;
    } else {
      if (havePicture) {
        error = "more than one picture given";
        return false;
      }
      pictureArg = a;
      havePicture = true;
    }
  }
  if (!havePicture) {
    error = "no picture given";
    return false;
  }
  if (opt.output.empty() && opt.exportFile.empty() && opt.savePicture.empty()) {
    error = "no output file given (-o PROGRAM, --export CONTOUR or --save-picture FILE)";
    return false;
  }
  if (opt.noReverse && !opt.optimise) {
    error = "--no-reverse needs --optimise";
    return false;
  }
  opt.picture = pictureArg;
  return true;
}

}  // namespace korvane
