#pragma once
// The core never shows anything itself: questions, messages and progress go
// through these small interfaces. The desktop program implements them with Qt,
// korvane-cli with the terminal, tests with scripted answers.
#include <string>

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

// Implementations that do nothing / always answer the same, for batch use.
class NullProgress : public ProgressSink {
 public:
  void report(const std::string&, int) override {}
};

class FixedAnswers : public UserDialogs {
 public:
  explicit FixedAnswers(bool answer) : answer_(answer) {}
  bool ask(const std::string&) override { return answer_; }
  bool confirm(const std::string&) override { return answer_; }
  void message(const std::string&) override {}

 private:
  bool answer_;
};

}  // namespace korvane
