#pragma once
// Qt side of the questions, messages and file choosers. The main window talks
// to these interfaces only, so GUI tests can answer them with scripted values.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ncsave.h"
#include "core/interaction.h"

class QWidget;

namespace korvane {

// Modal message boxes parented to the main window.
class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
  bool ask(const std::string& text) override;
  bool confirm(const std::string& text) override;
  void message(const std::string& text) override;

 private:
  QWidget* parent_;
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

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
  std::string openPicture(const FileRequest& req) override;
  std::string savePicture(const FileRequest& req) override;
  std::string saveNcProgram(const FileRequest& req) override;
  bool openDocument(const std::string& path) override;
  std::string saveExport(const FileRequest& req) override;
  std::string chooseFolder(const FolderRequest& req) override;
  std::optional<int32_t> chooseColour(int32_t current) override;

 private:
  QWidget* parent_;
};

}  // namespace korvane
