#include "app/cliopts.h"

#include <charconv>
#include <cstring>

#include "base/numtext.h"
#include "export/export.h"
#include "ncout/outparams.h"

namespace korvane {

const char* const kCliUsage =
    "Usage: korvane-cli PICTURE -o PROGRAM [options]\n"
    "       korvane-cli PICTURE --export CONTOUR [-o PROGRAM] [options]\n"
    "Converts a picture (BMP, JPEG, PNG, ICO, WMF, EMF) into an NC program.\n"
    "\n"
    "  -o, --output PROGRAM     NC program to write (required without --export)\n"
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
  if (opt.output.empty() && opt.exportFile.empty()) {
    error = "no output file given (-o PROGRAM or --export CONTOUR)";
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
