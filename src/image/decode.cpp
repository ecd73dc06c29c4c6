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
