#pragma once
// Picture decoding. Decoders deliver rows to a sink so that a caller that
// needs a compact form (the outline tracer's byte map, say) never pays for a
// whole 32-bit copy of a large scan.
#include <cstdint>
#include <string>

#include "image/picture.h"

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

// Decode a picture file (format told by its content). On failure returns
// false with the user-facing error text in `error`.
bool DecodePictureFile(const std::string& path, RowSink& sink, std::string& error);

// Decode into a 32-bit picture.
bool LoadPictureFile(const std::string& path, Picture& out, std::string& error);

}  // namespace korvane
