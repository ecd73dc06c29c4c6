#pragma once
// Picture decoding. Decoders deliver rows to a sink so that a caller that
// needs a compact form (the outline tracer's byte map, say) never pays for a
// whole 32-bit copy of a large scan.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/picture.h"

namespace korvane {

class RowSink {
 public:
  virtual ~RowSink() = default;
  // Called once with the checked dimensions before any row; false refuses.
  virtual bool begin(int32_t width, int32_t height) = 0;
  // One row of `width` 32-bit ARGB pixels; y counts from the top. Rows may
  // arrive in any order (bottom-up bitmaps deliver the last row first).
  virtual void row(int32_t y, const uint32_t* pixels) = 0;
};

// Largest picture any decoder accepts (16384 x 16384); bigger headers are
// refused before anything is allocated.
constexpr int64_t kMaxPicturePixels = int64_t{1} << 28;

// User-facing error texts of picture loading and saving.
std::string CannotOpenFileText(const std::string& path);  // "Datei %s kann nicht geöffnet werden"
std::string CannotCreateFileText(const std::string& path);  // "Datei %s kann nicht erstellt werden"
std::string UnknownExtensionText(
    const std::string& extension);    // "Unbekannte Bilddateierweiterung (.%s)"
std::string JpegErrorText(int code);  // "JPEG-Fehler #%d"

// Decode a picture file (format told by its content). On failure returns
// false with the user-facing error text in `error`.
bool DecodePictureFile(const std::string& path, RowSink& sink, std::string& error);

// Decode a picture held in memory; `path` only picks the error text when the
// content matches no known format (by its extension).
bool DecodePictureMemory(const uint8_t* data, size_t size, const std::string& path, RowSink& sink,
                         std::string& error);

// Decode into a 32-bit picture; `out` is left untouched on failure.
bool LoadPictureFile(const std::string& path, Picture& out, std::string& error);

// The bytes of a 32-bit bitmap file (BITMAPV4 header, bit fields with an alpha
// mask, bottom-up) holding the picture with its alpha.
std::vector<uint8_t> EncodeBmp32(const Picture& picture);

// Write the picture as a 32-bit bitmap file whatever the extension of `path`;
// on failure returns false with "Datei %s kann nicht erstellt werden".
bool SavePictureBmp32(const std::string& path, const Picture& picture, std::string& error);

}  // namespace korvane
