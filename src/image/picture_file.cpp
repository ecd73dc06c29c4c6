#include "image/picture_file.h"

#include <new>

#include "core/job.h"
#include "image/decode.h"

namespace korvane {
namespace {
constexpr float kMinZoom = 0.001f;
constexpr float kFitMargin = 56.0f;

float Clamp(float zoom) { return zoom < kMinZoom ? kMinZoom : zoom; }
}  // namespace

bool OpenPictureFile(Job& job, const std::string& path, std::string& error) {
  Picture decoded;
  if (!LoadPictureFile(path, decoded, error)) return false;
  // The working copy is made before anything changes, so running out of
  // memory here leaves the previous picture and job state as they were.
  Picture working;
  try {
    working = decoded;
  } catch (const std::bad_alloc&) {
    error = OutOfMemoryText(path);
    return false;
  }
  job.accepted = std::move(decoded);
  ResetJobForNewPicture(job);
  job.working = std::move(working);
  return true;
}

void ResetJobForNewPicture(Job& job) {
  job.scale = 1.0L;
  job.xOffsetText = kOffsetTextAfterOpen;
  job.yOffsetText = kOffsetTextAfterOpen;
  job.lineSpacing = 1.0L;
  job.segments.setCount(0);
  job.moveList.clear();
  job.ncLines.clear();
  job.contourAccepted = false;
  job.backupValid = false;
  job.graphicViewPending = true;
  // The working image is about to be replaced: the next run must trace it.
  job.pictureChanged = true;
}

std::vector<PictureFileFilter> PictureFileFilters() {
  static const struct {
    const char* description;
    const char* extension;
  } kTypes[] = {
      {"JPEG-Grafikdatei", "jpg"}, {"JPEG-Grafikdatei", "jpeg"}, {"Bitmaps", "bmp"},
      {"PNG-Grafikdatei", "png"},  {"Symbole", "ico"},           {"Erweiterte Metadateien", "emf"},
      {"Metadateien", "wmf"},
  };
  std::vector<PictureFileFilter> out(1);
  out[0].text = "Alle (";
  for (const auto& t : kTypes) {
    const std::string pattern = std::string("*.") + t.extension;
    if (!out[0].patterns.empty()) out[0].text += ';';
    out[0].text += pattern;
    out[0].patterns.push_back(pattern);
    out.push_back({std::string(t.description) + " (" + pattern + ")", {pattern}});
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
