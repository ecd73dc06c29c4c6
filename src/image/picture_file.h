#pragma once
// The open/save dialogs' file-type list, the picture texts after an open, and
// the picture view's zoom arithmetic.
#include <string>
#include <vector>

#include "base/messages.h"

namespace korvane {

// Texts the main window shows after a picture was opened.
constexpr const char* kScaleTextAfterOpen = "1.000";        // EScale
constexpr const char* kOffsetTextAfterOpen = "0.0";         // EXVersatz, EYVersatz
constexpr const char* kLineSpacingTextAfterOpen = "1.000";  // ELAbstand

// One entry of the picture dialogs' file-type list.
struct PictureFileFilter {
  std::string text;                   // as shown, e.g. "Bitmaps (*.bmp)"
  std::vector<std::string> patterns;  // e.g. {"*.bmp"}
};

// "Alle" (every pattern, first and preselected), then one entry per extension
// the decoders read.
std::vector<PictureFileFilter> PictureFileFilters();

// Extension of a file name without the dot ("" when there is none); the save
// dialog's default extension.
std::string FileExtension(const std::string& path);

// Picture view zoom. Fit: the smaller of (CW - 56) / W and (CH - 56) / H in
// single precision; an empty picture keeps `current`.
float FitZoom(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
              float current);
float ZoomIn(float zoom);                // zoom + zoom / 10
float ZoomOut(float zoom);               // zoom - zoom / 10, never below 0.001
float WheelZoom(float zoom, int delta);  // delta > 0 zooms in, otherwise out

}  // namespace korvane
