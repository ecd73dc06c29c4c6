#include "image/picturesave.h"

#include <filesystem>
#include <string_view>

#include "base/messages.h"

namespace korvane {
namespace {
// Position of the extension's dot in the file part of `path`, or npos.
size_t ExtensionDot(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of('.');
  // A leading dot names a hidden file, not an extension.
  if (dot == std::string::npos || dot <= start || dot + 1 == path.size()) return std::string::npos;
  return dot;
}
}  // namespace

std::string PictureSaveFileName(const std::string& pictureFile) {
  if (pictureFile.empty()) return {};
  const size_t dot = ExtensionDot(pictureFile);
  const std::string stem = dot == std::string::npos ? pictureFile : pictureFile.substr(0, dot);
  return stem + "." + kPictureSaveSuffix;
}

PictureSaveTarget PictureSaveTargetFor(const std::string& chosen) {
  PictureSaveTarget t;
  t.path = chosen.empty() || ExtensionDot(chosen) != std::string::npos
               ? chosen
               : chosen + "." + kPictureSaveSuffix;
  std::error_code ec;
  t.askOverwrite = !t.path.empty() && std::filesystem::exists(t.path, ec);
  return t;
}

std::string PictureReplaceQuestion(const std::string& path) {
  const std::string_view q = kPictureReplaceQuestion;
  const size_t at = q.find("%s");
  return std::string(q.substr(0, at)) + path + std::string(q.substr(at + 2));
}

}  // namespace korvane
