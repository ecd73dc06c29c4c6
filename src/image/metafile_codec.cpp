// Windows metafiles (WMF and EMF): libwmf and libemf2svg translate the records
// into SVG, librsvg draws that with cairo at the metafile's natural size.
// These headers clash with Qt's macros and keywords, so they stay in this file.
#include <cairo.h>
#include <emf2svg.h>
#include <librsvg/rsvg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <climits>
#include <cmath>
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
  const size_t rootEnd = root == std::string::npos ? root : doc.find('>', root);
  if (rootEnd == std::string::npos) return false;
  const bool selfClosing = doc[rootEnd - 1] == '/';
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

}  // namespace

bool DecodeWmf(const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  error = kMetafileInvalidText;
  if (size < 18 || size > static_cast<size_t>(LONG_MAX)) return false;
  // libwmf takes a writable buffer.
  std::vector<unsigned char> copy(data, data + size);
  WmfApi w;
  wmfAPI_Options options{};
  options.function = wmf_svg_function;
  if (wmf_api_create(&w.api, WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_DEBUG,
                     &options) != wmf_E_None)
    return false;
  if (wmf_mem_open(w.api, copy.data(), static_cast<long>(copy.size())) != wmf_E_None) return false;
  w.opened = true;
  wmfD_Rect scanned{};
  if (wmf_scan(w.api, 0, &scanned) != wmf_E_None) return false;
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
  const bool played = wmf_play(w.api, 0, &scanned) == wmf_E_None;
  char* text = nullptr;
  unsigned long length = 0;
  wmf_stream_destroy(w.api, svg->out, &text, &length);
  svg->out = nullptr;
  // The text belongs to libwmf's allocator and goes with the API object.
  if (!played || text == nullptr || length == 0) return false;
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
