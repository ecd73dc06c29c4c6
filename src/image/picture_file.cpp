#include "image/picture_file.h"

#include "image/formats.h"

namespace korvane {
namespace {
constexpr float kMinZoom = 0.001f;
constexpr float kFitMargin = 56.0f;

float Clamp(float zoom) { return zoom < kMinZoom ? kMinZoom : zoom; }
}  // namespace

std::vector<PictureFileFilter> PictureFileFilters() {
  std::vector<PictureFileFilter> out(1);
  out[0].text = "Alle (";
  for (const PictureFormat& format : PictureFormats()) {
    for (std::string_view ext : format.dialogExtensions) {
      const std::string pattern = "*." + std::string(ext);
      if (!out[0].patterns.empty()) out[0].text += ';';
      out[0].text += pattern;
      out[0].patterns.push_back(pattern);
      out.push_back({std::string(format.description) + " (" + pattern + ")", {pattern}});
    }
  }
  out[0].text += ')';
  return out;
}

std::string FileExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

float FitZoom(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
              float current) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return current;
  const float a = (static_cast<float>(clientWidth) - kFitMargin) / static_cast<float>(pictureWidth);
  const float b =
      (static_cast<float>(clientHeight) - kFitMargin) / static_cast<float>(pictureHeight);
  return Clamp(a > b ? b : a);
}

float ZoomIn(float zoom) { return Clamp(zoom + zoom / 10.0f); }
float ZoomOut(float zoom) { return Clamp(zoom - zoom / 10.0f); }
float WheelZoom(float zoom, int delta) { return delta > 0 ? ZoomIn(zoom) : ZoomOut(zoom); }

}  // namespace korvane
