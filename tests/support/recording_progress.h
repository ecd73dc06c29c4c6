#pragma once
// A progress sink that records every report and can "click" cancel inside a
// report, as a cancel button processed during a report would.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "base/interaction.h"

namespace korvane::testing {

class RecordingProgress : public ProgressSink {
 public:
  // From report number `at` (counting from 1) on, `flag` is set; 0: never.
  void cancelOn(bool& flag, std::size_t at) {
    cancel_ = &flag;
    cancelAt_ = at;
  }
  void report(const std::string& text, int percent) override {
    calls.emplace_back(text, percent);
    if (cancel_ != nullptr && cancelAt_ != 0 && calls.size() >= cancelAt_) *cancel_ = true;
  }
  std::vector<std::pair<std::string, int>> calls;

 private:
  bool* cancel_ = nullptr;
  std::size_t cancelAt_ = 0;
};

}  // namespace korvane::testing
