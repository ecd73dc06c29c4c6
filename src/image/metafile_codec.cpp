// Windows metafiles (WMF and EMF): libwmf and libemf2svg translate the records
// into SVG, librsvg draws that with cairo at the metafile's natural size.
// These headers clash with Qt's macros and keywords, so they stay in this file.
#include <cairo.h>
#include <emf2svg.h>
#include <librsvg/rsvg.h>
#include <libwmf/api.h>
#include <libwmf/ipa.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "image/codecs.h"

namespace korvane {

namespace codec {
namespace {

// Metafiles carry physical sizes; the natural pixel size is taken at the
// usual screen resolution.
constexpr int64_t kScreenDpi = 96;
constexpr int64_t kHundredthMmPerInch = 2540;

// cairo refuses surfaces wider or higher than this; larger pictures are
// drawn tile by tile.
constexpr int32_t kTileSide = 8192;
// Rows drawn per pass: bounds the scratch band to about 16 MB.
constexpr int64_t kBandPixels = int64_t{1} << 22;

// libwmf defines U16, S16, U32 and S32 as macros, hence the longer names.
uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
int16_t ReadS16(const uint8_t* p) { return static_cast<int16_t>(ReadU16(p)); }
uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t ReadS32(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }

// Length in `units` per inch (or per 2540 for EMF frames) to screen pixels,
// halves rounded up.
int64_t ToPixels(int64_t length, int64_t unitsPerInch) {
  return (length * kScreenDpi * 2 + unitsPerInch) / (2 * unitsPerInch);
}

// Draws the SVG document into a width x height picture and hands the rows to
// the sink. Uncovered pixels become 0x00FFFFFF; covered ones are put over
// white and made opaque.
bool RenderSvg(const char* svg, size_t length, int32_t width, int32_t height, RowSink& sink) {
  // Metafiles come from GDI, which fills shapes without smoothing; an
  // anti-aliased edge would leave grey pixels around every black shape.
  std::string doc(svg, length);
  const size_t root = doc.find("<svg");
  size_t rootEnd = root == std::string::npos ? root : doc.find('>', root);
  if (rootEnd == std::string::npos) return false;
  const bool selfClosing = doc[rootEnd - 1] == '/';
  // libwmf's inlined bitmaps use xlink:href without declaring the prefix,
  // which an XML parser refuses.
  const size_t xlink = doc.find("xmlns:xlink", root);
  if (xlink == std::string::npos || xlink > rootEnd) {
    doc.insert(root + 4, " xmlns:xlink=\"http://www.w3.org/1999/xlink\"");
    rootEnd = doc.find('>', root);
  }
  if (!selfClosing)
    doc.insert(rootEnd + 1,
               "<style>*{shape-rendering:crispEdges !important;"
               "text-rendering:optimizeSpeed !important}</style>");

  GError* gerror = nullptr;
  std::unique_ptr<RsvgHandle, void (*)(gpointer)> handle(
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(doc.data()), doc.size(), &gerror),
      g_object_unref);
  if (gerror != nullptr) g_error_free(gerror);
  if (handle == nullptr) return false;
  if (!sink.begin(width, height)) return false;

  const int64_t bandRows =
      std::clamp<int64_t>(kBandPixels / width, 1, std::min<int64_t>(height, kTileSide));
  std::vector<uint32_t> band(static_cast<size_t>(width) * static_cast<size_t>(bandRows));
  bool ok = true;
  for (int32_t y0 = 0; y0 < height && ok; y0 += static_cast<int32_t>(bandRows)) {
    const int32_t rows = static_cast<int32_t>(std::min<int64_t>(bandRows, height - y0));
    std::fill(band.begin(), band.end(), 0u);
    for (int32_t x0 = 0; x0 < width && ok; x0 += kTileSide) {
      const int32_t cols = std::min(kTileSide, width - x0);
      // The tile is a window into the band, so cairo draws straight into it.
      cairo_surface_t* surface =
          cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(band.data() + x0),
                                              CAIRO_FORMAT_ARGB32, cols, rows, width * 4);
      cairo_t* cr = cairo_create(surface);
      const RsvgRectangle viewport{-static_cast<double>(x0), -static_cast<double>(y0),
                                   static_cast<double>(width), static_cast<double>(height)};
      ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS &&
           rsvg_handle_render_document(handle.get(), cr, &viewport, &gerror);
      if (gerror != nullptr) {
        g_error_free(gerror);
        gerror = nullptr;
      }
      cairo_destroy(cr);
      cairo_surface_flush(surface);
      cairo_surface_destroy(surface);
    }
    if (!ok) break;
    for (int32_t r = 0; r < rows; ++r) {
      uint32_t* line = band.data() + static_cast<size_t>(r) * width;
      for (int32_t x = 0; x < width; ++x) {
        // cairo's words are premultiplied: colour over white is c + (255 - a).
        const uint32_t p = line[x];
        const uint32_t a = p >> 24;
        const uint32_t rest = 255 - a;
        line[x] = a == 0 ? 0x00FFFFFFu
                         : 0xFF000000u | ((((p >> 16) & 0xFF) + rest) << 16) |
                               ((((p >> 8) & 0xFF) + rest) << 8) | ((p & 0xFF) + rest);
      }
      sink.row(y0 + r, line);
    }
  }
  return ok;
}

// libwmf's SVG device writes metafile text into the document as it stands,
// so a "<" or "&" in a label broke the document or became markup. The text
// goes through this hook first: XML's special characters become references,
// the single-byte code page (read as Latin-1) becomes character references,
// and control characters, which XML forbids, become blanks.
struct TextHook {
  void (*original)(wmfAPI*, wmfDrawText_t*) = nullptr;
};

std::string EscapedText(const char* text) {
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    const unsigned char c = *p;
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else if (c == '"') out += "&quot;";
    else if (c == '\'') out += "&apos;";
    else if (c < 0x20 || c == 0x7F) out += ' ';
    else if (c >= 0x80) out += "&#" + std::to_string(c) + ";";
    else out += static_cast<char>(c);
  }
  return out;
}

void DrawEscapedText(wmfAPI* api, wmfDrawText_t* draw) {
  auto* hook = static_cast<TextHook*>(api->user_data);
  if (hook == nullptr || hook->original == nullptr || draw->str == nullptr) return;
  std::string escaped = EscapedText(draw->str);
  char* const original = draw->str;
  draw->str = escaped.data();
  hook->original(api, draw);
  draw->str = original;
}

// libwmf sizes some buffers from the records' claims (a bitmap record of a
// few hundred bytes asked for 12.8 GB), so it allocates through this
// budget: 64 MB plus twice the file, the most a picture the file can really
// describe needs. Beyond that an allocation fails; libwmf may carry on
// without the bitmap, but the file is refused as invalid all the same.
class WmfBudget {
 public:
  explicit WmfBudget(size_t fileSize) : left_((size_t{64} << 20) + 2 * fileSize) {}

  static void* Malloc(void* context, size_t size) {
    return static_cast<WmfBudget*>(context)->Take(nullptr, size);
  }
  static void* Realloc(void* context, void* mem, size_t size) {
    return static_cast<WmfBudget*>(context)->Take(mem, size);
  }
  bool exceeded() const { return exceeded_; }

  static void Free(void* context, void* mem) {
    if (mem == nullptr) return;
    Header* h = HeaderOf(mem);
    static_cast<WmfBudget*>(context)->left_ += h->size;
    std::free(h);
  }

 private:
  // Each block carries its size in front, so free and realloc can give the
  // budget back.
  union Header {
    size_t size;
    std::max_align_t align;
  };
  static Header* HeaderOf(void* mem) { return static_cast<Header*>(mem) - 1; }

  void* Take(void* mem, size_t size) {
    const size_t old = mem == nullptr ? 0 : HeaderOf(mem)->size;
    if (size > old && size - old > left_) {
      exceeded_ = true;
      return nullptr;
    }
    void* block = std::realloc(mem == nullptr ? nullptr : HeaderOf(mem), sizeof(Header) + size);
    if (block == nullptr) return nullptr;
    auto* h = static_cast<Header*>(block);
    left_ = left_ + old - size;
    h->size = size;
    return h + 1;
  }

  size_t left_;
  bool exceeded_ = false;
};

struct WmfApi {
  wmfAPI* api = nullptr;
  bool opened = false;
  ~WmfApi() {
    if (api == nullptr) return;
    if (opened) wmf_mem_close(api);
    wmf_api_destroy(api);
  }
};

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;

// The picture size of a WMF and the part of libwmf's drawing space (points,
// from the window origin) that fills it. The placeable header states the
// extent and its units per inch; a bare WMF has no physical size, so the
// drawing's own extent in logical units gives pixels.
bool WmfSize(const uint8_t* data, size_t size, wmfD_Rect& box, int64_t& width, int64_t& height) {
  if (size >= 22 && ReadU32(data) == kPlaceableKey) {
    const int64_t w = std::abs(int64_t{ReadS16(data + 10)} - ReadS16(data + 6));
    const int64_t h = std::abs(int64_t{ReadS16(data + 12)} - ReadS16(data + 8));
    const int64_t inch = ReadU16(data + 14);
    if (inch == 0) return false;
    width = ToPixels(w, inch);
    height = ToPixels(h, inch);
    box.TL.x = 0;
    box.TL.y = 0;
    box.BR.x = static_cast<float>(static_cast<double>(w) * 72 / static_cast<double>(inch));
    box.BR.y = static_cast<float>(static_cast<double>(h) * 72 / static_cast<double>(inch));
    return true;
  }
  // The scanned box reaches half a unit beyond the shapes for the pen.
  const double left = std::ceil(box.TL.x), top = std::ceil(box.TL.y);
  const double right = std::floor(box.BR.x), bottom = std::floor(box.BR.y);
  if (!(right > left && bottom > top && right - left < 1e9 && bottom - top < 1e9)) return false;
  width = static_cast<int64_t>(right - left);
  height = static_cast<int64_t>(bottom - top);
  box.TL.x = static_cast<float>(left);
  box.TL.y = static_cast<float>(top);
  box.BR.x = static_cast<float>(right);
  box.BR.y = static_cast<float>(bottom);
  return true;
}

// libemf2svg puts text into CDATA sections as it stands, so a "]]>" in it
// ended the section and the rest became markup. In the copy handed over, the
// ">" of every "]]>" in a text record becomes a full-width ">" (U+FF1E), or
// a blank in single-byte text.
void BreakCdataEnds(std::vector<char>& emf, size_t fileSize) {
  auto* b = reinterpret_cast<uint8_t*>(emf.data());
  for (size_t pos = 0; pos + 8 <= fileSize;) {
    const uint32_t type = ReadU32(b + pos);
    const uint32_t recordSize = ReadU32(b + pos + 4);
    if (recordSize < 8 || recordSize > fileSize - pos) return;
    constexpr uint32_t kExtTextOutA = 83, kExtTextOutW = 84;
    if ((type == kExtTextOutA || type == kExtTextOutW) && recordSize >= 76) {
      const uint64_t chars = ReadU32(b + pos + 44);
      const uint64_t at = ReadU32(b + pos + 48);
      const uint64_t unit = type == kExtTextOutW ? 2 : 1;
      if (at <= recordSize && chars <= (recordSize - at) / unit) {
        uint8_t* text = b + pos + at;
        for (uint64_t i = 2; i < chars; ++i) {
          auto unitAt = [&](uint64_t k) {
            return unit == 2 ? ReadU16(text + 2 * k) : static_cast<uint16_t>(text[k]);
          };
          if (unitAt(i) == '>' && unitAt(i - 1) == ']' && unitAt(i - 2) == ']') {
            if (unit == 2) {
              text[2 * i] = 0x1E;
              text[2 * i + 1] = 0xFF;
            } else {
              text[i] = ' ';
            }
          }
        }
      }
    }
    pos += recordSize;
  }
}

// libwmf's bitmap reader trusts the bitmap header of a DIB record: a
// header size beyond the record made it spin for minutes, a large picture
// claim made it allocate gigabytes. Every record must lie in the file, and
// every DIB header must be a known size inside its record and describe a
// picture whose rows (uncompressed) fit there, at most 64 MB plus twice the
// file when unpacked.
bool WmfBitmapsAreSane(const uint8_t* data, size_t size, size_t start) {
  const uint64_t budget = (uint64_t{64} << 20) + 2 * uint64_t{size};
  if (size < start + 18) return false;
  size_t pos = start + 2 * size_t{ReadU16(data + start + 2)};  // header size in words
  // libwmf plays on past an end record that is not exactly three words
  // long, so the records after one are checked too; only those that no
  // longer fit in the file end the check there.
  bool ended = false;
  while (pos + 6 <= size) {
    const uint64_t recordSize = 2 * uint64_t{ReadU32(data + pos)};
    const uint16_t function = ReadU16(data + pos + 4);
    if (function == 0 && recordSize == 6) return true;  // the end of the metafile
    if (recordSize < 6 || recordSize > size - pos) return ended;
    if (function == 0) ended = true;
    // Where the bitmap starts in the records that carry one (the block
    // transfers only when the record is longer than their parameters).
    size_t dib = 0;
    if (function == 0x0940 && recordSize > 6 + 18) dib = 22;       // DIBBITBLT
    else if (function == 0x0b41 && recordSize > 6 + 22) dib = 26;  // DIBSTRETCHBLT
    else if (function == 0x0f43) dib = 28;                         // STRETCHDIB
    else if (function == 0x0d33) dib = 24;                         // SETDIBTODEV
    else if (function == 0x0142) dib = 10;                         // DIBCREATEPATTERNBRUSH
    if (dib != 0) {
      if (recordSize < dib + 12) return false;
      const uint8_t* h = data + pos + dib;
      const uint64_t room = recordSize - dib;
      const uint32_t headerSize = ReadU32(h);
      int64_t width = 0, height = 0;
      uint32_t bits = 0, compression = 0;
      if (headerSize == 12) {
        width = ReadU16(h + 4);
        height = ReadU16(h + 6);
        bits = ReadU16(h + 10);
      } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
                 headerSize == 124) {
        if (room < headerSize) return false;
        width = ReadS32(h + 4);
        height = std::abs(int64_t{ReadS32(h + 8)});
        bits = ReadU16(h + 14);
        compression = ReadU32(h + 16);
      } else {
        return false;
      }
      if (headerSize > room || width <= 0 || height <= 0) return false;
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
      if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 > budget) return false;
      // Uncompressed rows (BI_RGB, BI_BITFIELDS) must all be in the record.
      const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
      if ((compression == 0 || compression == 3) && stride * static_cast<uint64_t>(height) > room)
        return false;
    }
    pos += recordSize;
  }
  return true;
}

}  // namespace

bool DecodeWmf(const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  error = kMetafileInvalidText;
  if (size < 18 || size > static_cast<size_t>(LONG_MAX)) return false;
  // libwmf takes a writable buffer.
  std::vector<unsigned char> copy(data, data + size);
  // libwmf allocates twice the header's largest-record size up front; no
  // record can be larger than the file, so the claim is cut to that.
  const size_t header = ReadU32(data) == kPlaceableKey ? 22 : 0;
  if (!WmfBitmapsAreSane(data, size, header)) return false;
  if (size >= header + 16 && ReadU32(data + header + 12) > size / 2) {
    const uint32_t words = static_cast<uint32_t>(size / 2);
    for (int i = 0; i < 4; ++i) copy[header + 12 + i] = static_cast<unsigned char>(words >> (8 * i));
  }
  WmfBudget budget(size);
  WmfApi w;
  wmfAPI_Options options{};
  options.context = &budget;
  options.malloc = WmfBudget::Malloc;
  options.realloc = WmfBudget::Realloc;
  options.free = WmfBudget::Free;
  options.function = wmf_svg_function;
  // Its own diagnostics (English, addressed to its makers) stay silent: the
  // user gets our message.
  if (wmf_api_create(&w.api,
                     WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL |
                         WMF_OPT_NO_DEBUG | WMF_OPT_NO_ERROR,
                     &options) != wmf_E_None)
    return false;
  TextHook hook;
  auto* functions = static_cast<wmfFunctionReference*>(w.api->function_reference);
  hook.original = functions->draw_text;
  functions->draw_text = DrawEscapedText;
  w.api->user_data = &hook;
  if (wmf_mem_open(w.api, copy.data(), static_cast<long>(copy.size())) != wmf_E_None) return false;
  w.opened = true;
  wmfD_Rect scanned{};
  if (wmf_scan(w.api, 0, &scanned) != wmf_E_None || budget.exceeded()) return false;
  wmfD_Rect box = scanned;
  int64_t width = 0, height = 0;
  if (!WmfSize(data, size, box, width, height) || !SaneDimensions(width, height)) return false;

  wmf_svg_t* svg = WMF_SVG_GetData(w.api);
  svg->out = wmf_stream_create(w.api, nullptr);
  if (svg->out == nullptr) return false;
  char description[] = "Korvane";  // libwmf wants it writable
  svg->Description = description;
  svg->bbox = box;
  svg->width = static_cast<unsigned>(width);
  svg->height = static_cast<unsigned>(height);
  // Embedded bitmaps go into the document as data; otherwise libwmf drops
  // them (or names files), and a picture made of one would come out empty.
  svg->flags |= WMF_SVG_INLINE_IMAGES;
  const bool played = wmf_play(w.api, 0, &scanned) == wmf_E_None;
  char* text = nullptr;
  unsigned long length = 0;
  wmf_stream_destroy(w.api, svg->out, &text, &length);
  svg->out = nullptr;
  // The text belongs to libwmf's allocator and goes with the API object.
  if (!played || budget.exceeded() || text == nullptr || length == 0) return false;
  return RenderSvg(text, length, static_cast<int32_t>(width), static_cast<int32_t>(height), sink);
}

bool DecodeEmf(const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  error = kMetafileInvalidText;
  // The header record: type 1, its own size, the bounds in device pixels and
  // the frame in 0.01 mm, " EMF", then the size of the whole file.
  if (size < 88 || ReadU32(data) != 1 || ReadU32(data + 40) != 0x464D4520u) return false;
  const uint32_t headerSize = ReadU32(data + 4);
  const uint32_t fileSize = ReadU32(data + 48);
  if (headerSize < 88 || headerSize > size || fileSize < headerSize || fileSize > size)
    return false;
  int64_t width = 0, height = 0;
  const int64_t frameW = int64_t{ReadS32(data + 32)} - ReadS32(data + 24);
  const int64_t frameH = int64_t{ReadS32(data + 36)} - ReadS32(data + 28);
  if (frameW > 0 && frameH > 0) {
    width = ToPixels(frameW, kHundredthMmPerInch);
    height = ToPixels(frameH, kHundredthMmPerInch);
  } else {
    // No usable frame: the bounds (inclusive device pixels) give the size.
    width = int64_t{ReadS32(data + 16)} - ReadS32(data + 8) + 1;
    height = int64_t{ReadS32(data + 20)} - ReadS32(data + 12) + 1;
  }
  if (!SaneDimensions(width, height)) return false;

  // libemf2svg takes a writable buffer.
  std::vector<char> copy(data, data + fileSize);
  // libemf2svg reads records as their headers describe them: each record
  // must lie inside the file, and the header's description inside the
  // header (it only names the file, so a bad one is dropped; so is an
  // offset without a length, from which the converter reads regardless).
  for (size_t pos = 0; pos < fileSize;) {
    if (fileSize - pos < 8) return false;
    const uint32_t recordSize = ReadU32(data + pos + 4);
    if (recordSize < 8 || recordSize % 4 != 0 || recordSize > fileSize - pos) return false;
    pos += recordSize;
  }
  const uint64_t descriptionChars = ReadU32(data + 60);
  const uint64_t descriptionAt = ReadU32(data + 64);
  if (descriptionChars == 0 || descriptionAt < 88 ||
      descriptionAt + 2 * descriptionChars > headerSize) {
    std::memset(copy.data() + 60, 0, 8);
  }
  BreakCdataEnds(copy, fileSize);
  generatorOptions options{};
  options.svgDelimiter = true;
  options.imgWidth = static_cast<double>(width);
  options.imgHeight = static_cast<double>(height);
  char* text = nullptr;
  size_t length = 0;
  const int converted = emf2svg(copy.data(), copy.size(), &text, &length, &options);
  std::unique_ptr<char, void (*)(void*)> owned(text, std::free);
  if (converted != 1 || text == nullptr || length == 0) return false;
  return RenderSvg(text, length, static_cast<int32_t>(width), static_cast<int32_t>(height), sink);
}

}  // namespace codec
}  // namespace korvane
