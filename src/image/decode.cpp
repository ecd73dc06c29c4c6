#include "image/decode.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "image/codecs.h"
#include "image/formats.h"
#include "image/picture_file.h"

namespace korvane {
namespace {

// Beyond this a file cannot hold anything the decoders accept (the largest
// uncompressed picture plus headers); reading stops there.
constexpr size_t kMaxFileBytes = static_cast<size_t>(kMaxPicturePixels) * 4 + (size_t{1} << 20);

class PictureSink : public RowSink {
 public:
  explicit PictureSink(Picture& p) : pic_(p) {}
  bool begin(int32_t w, int32_t h) override {
    pic_.width = w;
    pic_.height = h;
    pic_.px.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    return true;
  }
  void row(int32_t y, const uint32_t* px) override {
    std::memcpy(pic_.px.data() + static_cast<size_t>(y) * pic_.width, px,
                sizeof(uint32_t) * static_cast<size_t>(pic_.width));
  }

 private:
  Picture& pic_;
};

}  // namespace

std::string CannotOpenFileText(const std::string& path) {
  return "Datei " + path + " kann nicht geöffnet werden";
}
std::string CannotCreateFileText(const std::string& path) {
  return "Datei " + path + " kann nicht erstellt werden";
}
std::string UnknownExtensionText(const std::string& extension) {
  return "Unbekannte Bilddateierweiterung (." + extension + ")";
}
std::string JpegErrorText(int code) { return "JPEG-Fehler #" + std::to_string(code); }

namespace codec {
bool SaneDimensions(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPicturePixels && height <= kMaxPicturePixels &&
         width * height <= kMaxPicturePixels;
}
}  // namespace codec

bool DecodePictureMemory(const uint8_t* data, size_t size, const std::string& path, RowSink& sink,
                         std::string& error) {
  if (const PictureFormat* f = FormatOfContent(data, size)) return f->decode(data, size, sink, error);
  // Nothing recognisable: the extension names the format the file claims to be.
  const std::string ext = FileExtension(path);
  const PictureFormat* claimed = FormatOfExtension(ext);
  if (claimed == nullptr) {
    error = UnknownExtensionText(ext);
  } else if (claimed->invalidText == nullptr) {
    return claimed->decode(data, size, sink, error);  // the decoder names the fault
  } else {
    error = claimed->invalidText;
  }
  return false;
}

bool DecodePictureFile(const std::string& path, RowSink& sink, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    error = CannotOpenFileText(path);
    return false;
  }
  // One read of the whole file: the decoders then work on memory only.
  struct stat st {};
  bool ok = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
  const size_t size = !ok ? 0
                      : static_cast<uint64_t>(st.st_size) < kMaxFileBytes
                          ? static_cast<size_t>(st.st_size)
                          : kMaxFileBytes;
  std::unique_ptr<uint8_t[]> buf;
  if (ok) {
    buf.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
    ok = buf != nullptr && std::fread(buf.get(), 1, size, f) == size;
  }
  std::fclose(f);
  if (!ok) {
    error = CannotOpenFileText(path);
    return false;
  }
  return DecodePictureMemory(buf.get(), size, path, sink, error);
}

bool LoadPictureFile(const std::string& path, Picture& out, std::string& error) {
  Picture pic;
  PictureSink sink(pic);
  if (!DecodePictureFile(path, sink, error)) return false;
  out = std::move(pic);
  return true;
}

}  // namespace korvane
