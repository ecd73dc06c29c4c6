#pragma once
// Names for saving the working image. The picture is always written as a
// 32-bit bitmap, so the save dialog starts with the picture's own name given
// the extension ".bmp"; a name the user types with another extension is kept
// as typed, but replacing an existing file needs the overwrite question first.
#include <string>

namespace korvane {

constexpr const char* kPictureSaveSuffix = "bmp";

// "photo.jpg" -> "photo.bmp", "scan" -> "scan.bmp"; folders keep their dots.
std::string PictureSaveFileName(const std::string& pictureFile);

struct PictureSaveTarget {
  std::string path;          // the file to write
  bool askOverwrite = false;  // the file exists: ask before replacing it
};

// The file a confirmed name is written to: ".bmp" added when the name has no
// extension, otherwise the name as typed; askOverwrite when that file exists.
PictureSaveTarget PictureSaveTargetFor(const std::string& chosen);

// The question put before an existing file is replaced.
std::string PictureReplaceQuestion(const std::string& path);

}  // namespace korvane
