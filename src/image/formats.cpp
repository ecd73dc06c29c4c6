#include "image/formats.h"

#include <array>
#include <cstring>

#include "image/codecs.h"

namespace korvane {
namespace {

bool IsBmp(const uint8_t* d, size_t n) { return n >= 2 && d[0] == 'B' && d[1] == 'M'; }
bool IsJpeg(const uint8_t* d, size_t n) {
  return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF;
}
bool IsPng(const uint8_t* d, size_t n) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return n >= 8 && std::memcmp(d, kPng, 8) == 0;
}
bool IsIco(const uint8_t* d, size_t n) {
  return n >= 4 && d[0] == 0 && d[1] == 0 && (d[2] == 1 || d[2] == 2) && d[3] == 0;
}
// WMF: the placeable header's key, or a bare header (type 1 memory or 2
// disk, 9 words long, version 1 or 3).
bool IsWmf(const uint8_t* d, size_t n) {
  if (n >= 4 && d[0] == 0xD7 && d[1] == 0xCD && d[2] == 0xC6 && d[3] == 0x9A) return true;
  return n >= 6 && (d[0] == 1 || d[0] == 2) && d[1] == 0 && d[2] == 9 && d[3] == 0 && d[4] == 0 &&
         (d[5] == 1 || d[5] == 3);
}
// EMF: a header record (type 1) with the signature " EMF" at offset 40.
bool IsEmf(const uint8_t* d, size_t n) {
  static const uint8_t kEmfType[4] = {1, 0, 0, 0};
  return n >= 44 && std::memcmp(d, kEmfType, 4) == 0 && std::memcmp(d + 40, " EMF", 4) == 0;
}

using Ext = std::string_view;
constexpr std::array<Ext, 2> kJpegDialog{"jpg", "jpeg"};
constexpr std::array<Ext, 4> kJpegClaims{"jpg", "jpeg", "jpe", "jfif"};
constexpr std::array<Ext, 1> kBmpDialog{"bmp"};
constexpr std::array<Ext, 2> kBmpClaims{"bmp", "dib"};
constexpr std::array<Ext, 1> kPngExt{"png"};
constexpr std::array<Ext, 1> kIcoDialog{"ico"};
constexpr std::array<Ext, 2> kIcoClaims{"ico", "cur"};
constexpr std::array<Ext, 1> kEmfExt{"emf"};
constexpr std::array<Ext, 1> kWmfExt{"wmf"};

const std::array<PictureFormat, 6> kFormats{{
    {"JPEG-Grafikdatei", kJpegDialog, kJpegClaims, IsJpeg, codec::DecodeJpeg, nullptr},
    {"Bitmaps", kBmpDialog, kBmpClaims, IsBmp, codec::DecodeBmp, kBitmapInvalidText},
    {"PNG-Grafikdatei", kPngExt, kPngExt, IsPng, codec::DecodePng, kPngInvalidText},
    {"Symbole", kIcoDialog, kIcoClaims, IsIco, codec::DecodeIco, kIconInvalidText},
    {"Erweiterte Metadateien", kEmfExt, kEmfExt, IsEmf, codec::DecodeEmf, kMetafileInvalidText},
    {"Metadateien", kWmfExt, kWmfExt, IsWmf, codec::DecodeWmf, kMetafileInvalidText},
}};

bool SameLower(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

}  // namespace

std::span<const PictureFormat> PictureFormats() { return kFormats; }

const PictureFormat* FormatOfContent(const uint8_t* data, size_t size) {
  for (const PictureFormat& f : kFormats)
    if (f.matches(data, size)) return &f;
  return nullptr;
}

const PictureFormat* FormatOfExtension(std::string_view extension) {
  for (const PictureFormat& f : kFormats)
    for (std::string_view e : f.claimedExtensions)
      if (SameLower(extension, e)) return &f;
  return nullptr;
}

}  // namespace korvane
