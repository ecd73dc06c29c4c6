#include "image/decode.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "image/codecs.h"

namespace korvane {
namespace {

// Beyond this a file cannot hold anything the decoders accept (the largest
// uncompressed picture plus headers); reading stops there.
constexpr size_t kMaxFileBytes = static_cast<size_t>(kMaxPicturePixels) * 4 + (size_t{1} << 20);

std::string Extension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

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

const char* const kPngInvalidText = "PNG-Datei ist ungültig";

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
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 2 && data[0] == 'B' && data[1] == 'M')
    return codec::DecodeBmp(data, size, sink, error);
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
    return codec::DecodeJpeg(data, size, sink, error);
  if (size >= 8 && std::memcmp(data, kPng, 8) == 0)
    return codec::DecodePng(data, size, sink, error);
  if (size >= 4 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) && data[3] == 0)
    return codec::DecodeIco(data, size, sink, error);
  // WMF: the placeable header's key, or a bare header (type 1 memory or 2
  // disk, 9 words long, version 1 or 3).
  if (size >= 4 && data[0] == 0xD7 && data[1] == 0xCD && data[2] == 0xC6 && data[3] == 0x9A)
    return codec::DecodeWmf(data, size, sink, error);
  if (size >= 6 && (data[0] == 1 || data[0] == 2) && data[1] == 0 && data[2] == 9 &&
      data[3] == 0 && data[4] == 0 && (data[5] == 1 || data[5] == 3))
    return codec::DecodeWmf(data, size, sink, error);
  // EMF: a header record (type 1) with the signature " EMF" at offset 40.
  static const uint8_t kEmfType[4] = {1, 0, 0, 0};
  if (size >= 44 && std::memcmp(data, kEmfType, 4) == 0 && std::memcmp(data + 40, " EMF", 4) == 0)
    return codec::DecodeEmf(data, size, sink, error);
  // Nothing recognisable: the extension names the format the file claims to be.
  const std::string ext = Extension(path);
  const std::string lower = Lower(ext);
  if (lower == "bmp" || lower == "dib") {
    error = kBitmapInvalidText;
  } else if (lower == "jpg" || lower == "jpeg" || lower == "jpe" || lower == "jfif") {
    return codec::DecodeJpeg(data, size, sink, error);  // libjpeg names the fault
  } else if (lower == "png") {
    error = kPngInvalidText;
  } else if (lower == "ico" || lower == "cur") {
    error = kIconInvalidText;
  } else if (lower == "wmf" || lower == "emf") {
    error = kMetafileInvalidText;
  } else {
    error = UnknownExtensionText(ext);
  }
  return false;
}

namespace {

// The file's bytes, mapped rather than read: a decoder that refuses a header
// touches only the pages it looked at, however large the file claims to be.
// Where mapping is refused (an address-space limit, say) the bytes are read.
class FileBytes {
 public:
  ~FileBytes() {
    if (mapped_) ::munmap(const_cast<uint8_t*>(data_), size_);
  }
  // Only regular files: a FIFO or a device would block or never end.
  bool open(const std::string& path) {
    // O_NONBLOCK: opening a FIFO with no writer must not wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
      size_ = static_cast<uint64_t>(st.st_size) < kMaxFileBytes ? static_cast<size_t>(st.st_size)
                                                                : kMaxFileBytes;
      ok = size_ == 0 || map(fd) || read(fd);
    }
    ::close(fd);
    return ok;
  }
  const uint8_t* data() const { return data_ != nullptr ? data_ : &empty_; }
  size_t size() const { return size_; }

 private:
  bool map(int fd) {
    void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) return false;
    data_ = static_cast<const uint8_t*>(p);
    mapped_ = true;
    return true;
  }
  bool read(int fd) {
    copy_.reset(new (std::nothrow) uint8_t[size_]);
    if (copy_ == nullptr) return false;
    // A regular file opened with O_NONBLOCK still reads in full.
    size_t done = 0;
    while (done < size_) {
      const ssize_t n = ::read(fd, copy_.get() + done, size_ - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    data_ = copy_.get();
    return true;
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
  std::unique_ptr<uint8_t[]> copy_;
  uint8_t empty_ = 0;
};

}  // namespace

std::string OutOfMemoryText(const std::string& path) {
  return "Nicht genügend Speicher für die Bilddatei " + path;
}

bool DecodePictureFile(const std::string& path, RowSink& sink, std::string& error) {
  FileBytes file;
  if (!file.open(path)) {
    error = CannotOpenFileText(path);
    return false;
  }
  // The decoders run on memory only. A picture too large for the memory
  // left is a message, never an abort.
  try {
    return DecodePictureMemory(file.data(), file.size(), path, sink, error);
  } catch (const std::bad_alloc&) {
    error = OutOfMemoryText(path);
    return false;
  }
}

bool LoadPictureFile(const std::string& path, Picture& out, std::string& error) {
  Picture pic;
  PictureSink sink(pic);
  if (!DecodePictureFile(path, sink, error)) return false;
  out = std::move(pic);
  return true;
}

}  // namespace korvane
