#pragma once
// The core never shows anything itself: questions, messages and progress go
// through these small interfaces. The desktop program implements them with Qt,
// korvane-cli with the terminal, tests with scripted answers.
#include <string>
#include <vector>

namespace korvane {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // Question with Yes and No; true means Yes.
  virtual bool ask(const std::string& text) = 0;
  // Question with OK and Cancel; true means OK.
  virtual bool confirm(const std::string& text) = 0;
  // A message the user must see (modal message box in the desktop program).
  virtual void message(const std::string& text) = 0;
};

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // Status text and percentage 0..100. The desktop implementation also
  // processes pending window events here, which is how a cancel click arrives.
  virtual void report(const std::string& text, int percent) = 0;
  // True while a view shows the picture being worked on (the conversion
  // dialog's preview): methods that work on a compact copy then bring their
  // marks into the picture before the view repaints.
  virtual bool showsPicture() const { return false; }
};

// An implementation that does nothing, for batch use.
class NullProgress : public ProgressSink {
 public:
  void report(const std::string&, int) override {}
};

// Answers every question the same way and keeps what was asked and shown:
// korvane-cli's batch answers, and the scripted user of the tests.
class FixedAnswers : public UserDialogs {
 public:
  explicit FixedAnswers(bool answerAll = true) : answer(answerAll) {}
  bool ask(const std::string& text) override {
    asked.push_back(text);
    return answer;
  }
  bool confirm(const std::string& text) override {
    asked.push_back(text);
    return answer;
  }
  void message(const std::string& text) override { messages.push_back(text); }

  bool answer;
  std::vector<std::string> asked;
  std::vector<std::string> messages;
};

}  // namespace korvane
