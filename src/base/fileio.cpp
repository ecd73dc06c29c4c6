#include "base/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace korvane {

bool ReadWholeFile(const std::string& file, std::string& content) {
  content.clear();
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[16384];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (!ok) content.clear();
  return ok;
}

bool WriteFileAtomically(const std::string& file, std::string_view content) {
  std::string temp = file + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  struct stat old;
  fchmod(fd, ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  bool ok = true;
  const char* p = content.data();
  std::size_t left = content.size();
  while (ok && left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(temp.c_str(), file.c_str()) != 0) ok = false;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace korvane
