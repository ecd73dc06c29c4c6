#pragma once
// The picture formats, one row each: how the content is recognised, the
// extensions that claim it, the open dialog's description, and the decoder.
// Decoding, the error for unrecognised content and the open dialog's
// file-type list all read this table; a new format is a new row.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "image/decode.h"

namespace korvane {

struct PictureFormat {
  std::string_view description;  // open dialog, e.g. "Bitmaps"
  // Extensions listed in the open dialog, one entry each, in order.
  std::span<const std::string_view> dialogExtensions;
  // Every extension that claims the format (lower case), dialog ones included.
  std::span<const std::string_view> claimedExtensions;
  bool (*matches)(const uint8_t* data, size_t size);
  bool (*decode)(const uint8_t* data, size_t size, RowSink& sink, std::string& error);
  // Error for a file that claims the format by its extension but whose content
  // matches no row; nullptr: the decoder is run anyway and names the fault.
  const char* invalidText;
};

// In the open dialog's order. The content tests exclude each other.
std::span<const PictureFormat> PictureFormats();

// The row whose content test matches, or the row that claims the extension
// (case-insensitive); nullptr for neither.
const PictureFormat* FormatOfContent(const uint8_t* data, size_t size);
const PictureFormat* FormatOfExtension(std::string_view extension);

}  // namespace korvane
