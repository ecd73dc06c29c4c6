#pragma once
// The file, folder and colour choosers as the program asks for them. Windows
// of every folder talk to this interface only, so tests answer it with
// scripted values; the Qt implementation lives with the main window.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

struct FileFilter {
  std::string description;  // shown text
  std::string pattern;      // "*.nc"
};

// What a file chooser is asked to show.
struct FileRequest {
  std::string directory;
  std::string fileName;
  std::vector<FileFilter> filters;
  int selected = 0;
  std::string defaultSuffix;
};

// What a folder chooser is asked to show.
struct FolderRequest {
  std::string start;    // folder it opens at
  std::string caption;  // window caption
  std::string status;   // line of text above the folder list
};

// The name the dialog confirms: `name` plus "." + suffix when the file part of
// `name` has no extension and a suffix is set.
std::string WithDefaultSuffix(const std::string& name, const std::string& suffix);

// File, folder and colour choosers and the desktop's "open with the
// associated program". An empty answer means the user cancelled.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::string openPicture(const FileRequest& req) = 0;
  virtual std::string savePicture(const FileRequest& req) = 0;
  virtual std::string saveNcProgram(const FileRequest& req) = 0;
  // Open a document with the desktop's default program; false on failure.
  virtual bool openDocument(const std::string& path) = 0;
  // The choosers below answer "cancelled" unless an implementation offers them.
  virtual std::string saveExport(const FileRequest&) { return {}; }
  virtual std::string chooseFolder(const FolderRequest&) { return {}; }
  // Colours as the settings keep them: red in the low byte, then green, blue.
  virtual std::optional<int32_t> chooseColour(int32_t) { return std::nullopt; }
};

}  // namespace korvane
