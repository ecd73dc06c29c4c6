#pragma once
// Scripted user for dialog tests: questions answered No, messages kept, and
// file, folder and colour choosers answered from queues (cancelled when empty),
// each request kept.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/filedialogs.h"
#include "base/interaction.h"

namespace korvane::testing {

class ScriptedDialogs : public UserDialogs, public FileDialogs {
 public:
  std::vector<std::string> messages;
  std::deque<std::string> files;
  std::vector<FileRequest> requests;
  std::deque<std::string> folders;
  std::vector<FolderRequest> folderRequests;
  std::deque<std::optional<int32_t>> colours;
  std::vector<int32_t> colourAsked;

  bool ask(const std::string&) override { return false; }
  bool confirm(const std::string&) override { return false; }
  void message(const std::string& t) override { messages.push_back(t); }
  std::string openPicture(const FileRequest& r) override { return next(files, requests, r); }
  std::string savePicture(const FileRequest& r) override { return next(files, requests, r); }
  std::string saveNcProgram(const FileRequest& r) override { return next(files, requests, r); }
  std::string saveExport(const FileRequest& r) override { return next(files, requests, r); }
  bool openDocument(const std::string&) override { return true; }
  std::string chooseFolder(const FolderRequest& r) override {
    return next(folders, folderRequests, r);
  }
  std::optional<int32_t> chooseColour(int32_t current) override {
    return next(colours, colourAsked, current);
  }

 private:
  template <typename Answer, typename Request>
  static Answer next(std::deque<Answer>& answers, std::vector<Request>& seen, const Request& r) {
    seen.push_back(r);
    if (answers.empty()) return Answer{};
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace korvane::testing
