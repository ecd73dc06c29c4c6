#pragma once
// Qt side of the questions, messages and file choosers. The main window talks
// to these interfaces only, so GUI tests can answer them with scripted values.
#include <string>
#include <vector>

#include "app/ncsave.h"
#include "base/interaction.h"

class QWidget;

namespace korvane {

// Modal message boxes above the main window or the modal dialog it shows.
class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
  bool ask(const std::string& text) override;
  bool confirm(const std::string& text) override;
  void message(const std::string& text) override;

 private:
  // The topmost modal dialog when one shows, else the main window.
  QWidget* owner() const;
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

// File choosers and the desktop's "open with the associated program".
// An empty answer means the user cancelled.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::string openPicture(const FileRequest& req) = 0;
  virtual std::string savePicture(const FileRequest& req) = 0;
  virtual std::string saveNcProgram(const FileRequest& req) = 0;
  // Open a document with the desktop's default program; false on failure.
  virtual bool openDocument(const std::string& path) = 0;
};

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
  std::string openPicture(const FileRequest& req) override;
  std::string savePicture(const FileRequest& req) override;
  std::string saveNcProgram(const FileRequest& req) override;
  bool openDocument(const std::string& path) override;

 private:
  QWidget* parent_;
};

}  // namespace korvane
