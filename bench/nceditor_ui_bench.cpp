// A built program of 200,000 lines handed to the NC editor in one piece,
// offscreen. Prints wall and CPU time of setProgram (until pending events are
// processed) with the shipped colouring (lines in view at once, the rest when
// scrolled to), with every line coloured at once, and with no colouring, plus
// the tokenizer alone over the same lines. Modes alternate, because timings on
// a shared machine drift between runs.
#include <QApplication>
#include <QTextBlock>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "editor/nceditor_ui.h"
#include "editor/nchighlighter_ui.h"
#include "editor/nctokens.h"

namespace {

std::vector<std::string> Program(int n) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    lines.push_back("N" + std::to_string(i * 10) + " G01 X" + std::to_string(i % 997) + ".125 Y-" +
                    std::to_string(i % 613) + ".5 F200");
  }
  return lines;
}

struct Times {
  double wallMs, cpuMs;
};

template <typename F>
Times Measure(F f) {
  const auto w0 = std::chrono::steady_clock::now();
  const std::clock_t c0 = std::clock();
  f();
  const double cpu = static_cast<double>(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC;
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - w0).count();
  return {wall, cpu};
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int n = 200000;
  const std::vector<std::string> lines = Program(n);

  enum Mode { kShipped, kAllAtOnce, kNone };
  const char* names[] = {"shipped colouring", "all lines coloured", "no colouring"};
  for (int round = 0; round < 3; ++round) {
    for (Mode mode : {kShipped, kAllAtOnce, kNone}) {
      korvane::NcEditor ed;
      ed.resize(800, 600);
      ed.show();
      if (mode == kAllAtOnce) ed.highlighter()->setWanted(nullptr);
      if (mode == kNone) ed.highlighter()->setDocument(nullptr);
      QApplication::processEvents();
      const Times t = Measure([&] {
        ed.setProgram(lines);
        QApplication::processEvents();
      });
      std::printf("round %d  %-20s  %d lines: %7.0f ms wall, %7.0f ms CPU  (%d blocks)\n", round,
                  names[mode], n, t.wallMs, t.cpuMs, ed.document()->blockCount());
    }
    size_t tokens = 0;
    const Times t = Measure([&] {
      for (const std::string& l : lines) tokens += korvane::TokenizeNcLine(l).size();
    });
    std::printf("round %d  %-20s  %d lines: %7.0f ms wall, %7.0f ms CPU  (%zu tokens)\n", round,
                "tokenizer alone", n, t.wallMs, t.cpuMs, tokens);
  }
  return 0;
}
