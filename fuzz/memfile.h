#pragma once
// The readers under test take file names; an anonymous memory file gives
// each input a name without touching the disk.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace korvane::fuzz {

class MemFile {
 public:
  explicit MemFile(std::string_view content) {
    fd_ = memfd_create("korvane-fuzz", MFD_CLOEXEC);
    if (fd_ < 0) std::abort();
    size_t done = 0;
    while (done < content.size()) {
      const ssize_t n = ::write(fd_, content.data() + done, content.size() - done);
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~MemFile() { ::close(fd_); }
  MemFile(const MemFile&) = delete;
  MemFile& operator=(const MemFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace korvane::fuzz
