#pragma once
// Qt side of the questions, messages and file choosers. The main window talks
// to these interfaces only, so GUI tests can answer them with scripted values.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ncsave.h"
#include "base/filedialogs.h"
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
