#include "base/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace korvane {

bool ReadWholeFile(const std::string& file, std::string& content) {
  content.clear();
  // O_NONBLOCK: opening a FIFO with no writer must not wait for one.
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
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

bool PresentButUnreadable(const std::string& file) {
  struct stat st {};
  if (::lstat(file.c_str(), &st) != 0) return false;
  if (!S_ISLNK(st.st_mode) && !S_ISREG(st.st_mode)) return true;
  // A regular file or a link: unreadable when it cannot be opened, or the link
  // leads to no regular file (a dangling link counts as missing).
  if (S_ISLNK(st.st_mode) && ::stat(file.c_str(), &st) != 0) return false;
  if (!S_ISREG(st.st_mode)) return true;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return true;
  ::close(fd);
  return false;
}

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write to `file` must replace: `file` itself, or the end of its
// chain of symbolic links (which need not exist yet).
bool ResolveTarget(const std::string& file, std::string& target) {
  target = file;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return false;
    link.resize(static_cast<std::size_t>(n));
    target = link[0] == '/' ? link : FolderOf(target) + "/" + link;
  }
  errno = ELOOP;
  return false;
}

bool WriteAll(int fd, std::string_view content) {
  const char* p = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool StageFile(const std::string& file, std::string_view content, StagedFile& staged) {
  staged = {};
  std::string target;
  if (!ResolveTarget(file, target)) return false;
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    // A rename would put a plain file where a device or FIFO was (as root,
    // even over /dev/null), and a read-only file would be replaced although
    // it may not be written.
    if (!S_ISREG(old.st_mode)) {
      errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
      return false;
    }
    if ((old.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0) {
      errno = EACCES;
      return false;
    }
  }
  std::string temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  ::fchmod(fd, exists ? (old.st_mode & 07777) : 0644);
  bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
  const int savedErrno = errno;
  if (::close(fd) != 0) ok = false;
  if (!ok) {
    ::unlink(temp.c_str());
    errno = savedErrno;
    return false;
  }
  staged.target = std::move(target);
  staged.temp = std::move(temp);
  return true;
}

bool CommitStagedFiles(std::vector<StagedFile>& staged) {
  bool ok = true;
  for (StagedFile& f : staged) {
    if (f.temp.empty()) continue;
    if (ok && std::rename(f.temp.c_str(), f.target.c_str()) == 0) {
      SyncFolder(FolderOf(f.target));
    } else {
      ok = false;
      ::unlink(f.temp.c_str());
    }
    f.temp.clear();
  }
  return ok;
}

void DiscardStagedFiles(std::vector<StagedFile>& staged) {
  for (StagedFile& f : staged) {
    if (!f.temp.empty()) ::unlink(f.temp.c_str());
    f.temp.clear();
  }
}

bool WriteFileAtomically(const std::string& file, std::string_view content) {
  std::vector<StagedFile> staged(1);
  if (!StageFile(file, content, staged[0])) return false;
  return CommitStagedFiles(staged);
}

}  // namespace korvane
