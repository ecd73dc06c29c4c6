// A built program handed to the NC editor in one piece, against a plain
// QPlainTextEdit given the same lines, offscreen in an 800 x 600 window.
// Time: from handing over the builder's lines until the window has shown
// (and, for ours, coloured) the first screen. Memory: growth of the resident
// set over the same span. Every measurement runs in a fresh child process,
// so memory freed by one run cannot hide the growth of the next; the two
// editors alternate over the rounds and the median round is printed, one
// line per size:
//   200000 lines: ours 30 ms 41 MB, QPlainTextEdit 402 ms 112 MB
// QPlainTextEdit is skipped above 1,000,000 lines (it needs seconds there).
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "editor/nceditor_ui.h"

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

long ResidentBytes() {
  std::ifstream in("/proc/self/statm");
  long size = 0, resident = 0;
  in >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

struct Result {
  double ms = 0;
  double mb = 0;
  bool ok = false;
};

enum class Editor { kOurs, kPlain };

// Runs in the child process.
Result MeasureHere(Editor which, int n) {
  int argc = 1;
  char name[] = "nceditor_ui_bench";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  const std::vector<std::string> lines = Program(n);
  korvane::NcEditor ours;
  QPlainTextEdit plain;
  plain.setLineWrapMode(QPlainTextEdit::NoWrap);
  QWidget& shown = which == Editor::kOurs ? static_cast<QWidget&>(ours) : plain;
  shown.resize(800, 600);
  shown.show();
  QApplication::processEvents();
  const korvane::LineStore store(lines);
  const long before = ResidentBytes();
  const auto t0 = std::chrono::steady_clock::now();
  if (which == Editor::kOurs) {
    ours.setProgram(store);
  } else {
    QByteArray utf8;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i) utf8.append('\n');
      utf8.append(lines[i].data(), static_cast<qsizetype>(lines[i].size()));
    }
    plain.setPlainText(QString::fromUtf8(utf8));
  }
  QApplication::processEvents();
  Result r;
  r.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  r.mb = static_cast<double>(ResidentBytes() - before) / 1e6;
  // The first screen must really be shown: coloured (ours) and laid out.
  r.ok = which == Editor::kOurs
             ? ours.lineCount() == n &&
                   ours.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 0) != 0
             : plain.document()->blockCount() == n;
  return r;
}

Result Measure(Editor which, int n) {
  int fd[2];
  if (pipe(fd) != 0) std::exit(2);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fd[0]);
    const Result r = MeasureHere(which, n);
    if (write(fd[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(3);
    _exit(0);
  }
  close(fd[1]);
  Result r;
  const bool got = read(fd[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
  close(fd[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!got) r.ok = false;
  return r;
}

Result Median(std::vector<Result> v) {
  std::sort(v.begin(), v.end(), [](const Result& a, const Result& b) { return a.ms < b.ms; });
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // "ours N" or "plain N": one measurement in this process (for a profiler).
  if (argc == 3) {
    const Editor which = std::string(argv[1]) == "plain" ? Editor::kPlain : Editor::kOurs;
    const Result r = MeasureHere(which, std::atoi(argv[2]));
    std::printf("%s %s lines: %.0f ms %.0f MB%s\n", argv[1], argv[2], r.ms, r.mb,
                r.ok ? "" : " (not all shown)");
    return 0;
  }
  constexpr int kRounds = 3;
  constexpr int kPlainLimit = 1000000;
  Result ours200k, plain200k, ours2m;
  for (int n : {200000, 1000000, 2000000}) {
    std::vector<Result> ours, plain;
    for (int round = 0; round < kRounds; ++round) {
      ours.push_back(Measure(Editor::kOurs, n));
      if (n <= kPlainLimit) plain.push_back(Measure(Editor::kPlain, n));
    }
    const Result o = Median(ours);
    std::printf("%d lines: ours %.0f ms %.0f MB, ", n, o.ms, o.mb);
    if (plain.empty()) {
      std::printf("QPlainTextEdit skipped (over %d lines)\n", kPlainLimit);
    } else {
      const Result p = Median(plain);
      std::printf("QPlainTextEdit %.0f ms %.0f MB\n", p.ms, p.mb);
      if (!p.ok) std::printf("  QPlainTextEdit did not show all %d lines\n", n);
      if (n == 200000) plain200k = p;
    }
    if (!o.ok) std::printf("  ours did not show and colour all %d lines\n", n);
    if (n == 200000) ours200k = o;
    if (n == 2000000) ours2m = o;
    std::fflush(stdout);
  }
  std::printf("time ratio at 200000 lines: %.3f (target at most 0.15)\n",
              ours200k.ms / plain200k.ms);
  std::printf("2000000 lines: %.0f ms (target at most 500), %.0f bytes per line (at most 200)\n",
              ours2m.ms, ours2m.mb * 1e6 / 2000000);
  return 0;
}
