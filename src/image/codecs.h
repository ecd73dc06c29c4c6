#pragma once
// The format decoders behind DecodePictureMemory. Each checks the dimensions
// before calling RowSink::begin and sets its own error text on failure.
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/decode.h"

namespace korvane::codec {

// True when width x height is a picture size the decoders accept.
bool SaneDimensions(int64_t width, int64_t height);

bool DecodeBmp(const uint8_t* data, size_t size, RowSink& sink, std::string& error);
bool DecodeIco(const uint8_t* data, size_t size, RowSink& sink, std::string& error);
bool DecodeJpeg(const uint8_t* data, size_t size, RowSink& sink, std::string& error);
bool DecodePng(const uint8_t* data, size_t size, RowSink& sink, std::string& error);
// Windows metafiles, drawn at their natural size (96 pixels per inch).
bool DecodeWmf(const uint8_t* data, size_t size, RowSink& sink, std::string& error);
bool DecodeEmf(const uint8_t* data, size_t size, RowSink& sink, std::string& error);

}  // namespace korvane::codec
