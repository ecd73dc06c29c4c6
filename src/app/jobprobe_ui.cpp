#include "app/jobprobe_ui.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "app/fmain_ui.h"
#include "base/messages.h"
#include "editor/nceditor_ui.h"
#include "app/views_ui.h"

namespace korvane {

namespace {

constexpr int kTickMs = 1;
constexpr double kRecordedGapMs = 20;

// Resident and peak resident memory of this process, in MiB.
struct Rss {
  double now = 0, peak = 0;
};
Rss ReadRss() {
  Rss r;
  std::ifstream in("/proc/self/status");
  std::string key;
  while (in >> key) {
    long kb = 0;
    if (key == "VmRSS:" && in >> kb) r.now = kb / 1024.0;
    if (key == "VmHWM:" && in >> kb) r.peak = kb / 1024.0;
  }
  return r;
}

class AnswerYes : public UserDialogs, public FileDialogs {
 public:
  QString acceptShot;
  bool ask(const std::string& text) override {
    if (text == kAskAcceptText && !acceptShot.isEmpty()) {
      // The question as the user would see it, over the marked result.
      QMessageBox box(QMessageBox::Question, QStringLiteral("Korvane"), QString::fromStdString(text),
                      QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
      box.show();
      QEventLoop settle;
      QTimer::singleShot(500, &settle, &QEventLoop::quit);
      settle.exec();
      QGuiApplication::primaryScreen()->grabWindow(0).save(acceptShot);
      std::printf("  screen shot at the acceptance question: %s\n", qPrintable(acceptShot));
    }
    return true;
  }
  bool confirm(const std::string&) override { return true; }
  void message(const std::string& t) override { std::printf("message: %s\n", t.c_str()); }
  std::string openPicture(const FileRequest&) override { return {}; }
  std::string savePicture(const FileRequest&) override { return {}; }
  std::string saveNcProgram(const FileRequest&) override { return {}; }
  bool openDocument(const std::string&) override { return false; }
};

// Text bytes of a line list, whatever its storage.
template <class Lines>
double TextMiB(const Lines& lines) {
  size_t n = 0;
  for (size_t i = 0; i < lines.size(); ++i) n += std::string_view(lines[i]).size() + 1;
  return n / 1048576.0;
}

double MiB(size_t bytes) { return bytes / 1048576.0; }

std::string Utf8(const QString& s) { return s.toStdString(); }

}  // namespace

EventLoopProbe::EventLoopProbe(std::function<QString()> status, QObject* parent)
    : QObject(parent), status_(std::move(status)), timer_(new QTimer(this)) {
  timer_->setTimerType(Qt::PreciseTimer);
  timer_->setInterval(kTickMs);
  connect(timer_, &QTimer::timeout, this, [this] { tick(); });
}

void EventLoopProbe::start() {
  gaps_.clear();
  clock_.start();
  last_ = 0;
  lastText_ = status_();
  timer_->start();
}

void EventLoopProbe::stop() {
  tick();
  timer_->stop();
}

void EventLoopProbe::tick() {
  const double now = elapsedMs();
  const QString text = status_();
  if (now - last_ >= kRecordedGapMs) gaps_.push_back({now - last_, last_, lastText_, text});
  last_ = now;
  lastText_ = text;
}

std::vector<EventLoopProbe::Gap> EventLoopProbe::longest(size_t n) const {
  std::vector<Gap> g = gaps_;
  std::sort(g.begin(), g.end(), [](const Gap& a, const Gap& b) { return a.ms > b.ms; });
  if (g.size() > n) g.resize(n);
  return g;
}

std::vector<EventLoopProbe::Gap> EventLoopProbe::atLeast(double ms) const {
  std::vector<Gap> g;
  for (const Gap& x : gaps_)
    if (x.ms >= ms) g.push_back(x);
  return g;
}

void RunMeasuredJob(Tfmain& w, const MeasureOptions& options) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  static AnswerYes yes;
  yes.acceptShot = options.acceptShot;
  w.setDialogs(&yes, &yes);
  auto* label = w.findChild<QLabel*>(QStringLiteral("LMeldung"));
  auto* probe = new EventLoopProbe([label] { return label->text(); }, &w);
  std::string lastText;
  w.setProgressHook([&](const std::string& text, int) {
    if (text == lastText) return;
    lastText = text;
    const Rss r = ReadRss();
    std::printf("  %9.1f ms  RSS %7.1f MiB  %s\n", probe->elapsedMs(), r.now, text.c_str());
  });

  const auto measured = [&](const char* name, const std::function<void()>& command) {
    std::printf("== %s\n", name);
    lastText.clear();
    probe->start();
    command();
    const double doneMs = probe->elapsedMs();
    // What the command left queued (repaints of the views) belongs to it.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    probe->stop();
    const Rss r = ReadRss();
    std::printf("  %9.1f ms  command returned; status \"%s\"; RSS %.1f MiB, peak %.1f MiB\n",
                doneMs, Utf8(label->text()).c_str(), r.now, r.peak);
    std::printf("  longest gaps between event-loop turns:\n");
    for (const EventLoopProbe::Gap& g : probe->longest(8))
      std::printf("    %8.1f ms at %9.1f ms  \"%s\" -> \"%s\"\n", g.ms, g.startMs,
                  Utf8(g.before).c_str(), Utf8(g.after).c_str());
    const size_t over = probe->atLeast(200).size();
    std::printf("  gaps of 200 ms or more: %zu\n", over);
  };

  measured("convert", [&] { w.BConvertClick(); });
  if (options.followLines) measured("line following", [&] { w.BFindLinesClick(); });
  if (options.optimise) measured("path optimisation", [&] { w.BWayOptimizeClick(); });

  // What the job holds at the end.
  const Job& job = w.job();
  NcEditor* editor = w.findChild<NcEditor*>(QStringLiteral("NCEditor"));
  const auto editorBytes =
      static_cast<size_t>(editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
  std::printf("== held at the end\n");
  std::printf("  segments: %d live (%.1f MiB), undo copy %.1f MiB\n", job.segments.count(),
              MiB(static_cast<size_t>(job.segments.count()) * sizeof(Segment)),
              MiB(job.segments.undoBank().capacity() * sizeof(Segment)));
  std::printf("  NC lines: %zu (%.1f MiB text); move list: %zu lines (%.1f MiB text)\n",
              job.ncLines.size(), TextMiB(job.ncLines), job.moveList.size(),
              TextMiB(job.moveList));
  std::printf("  move records: %zu (%.1f MiB); move-line map %.1f MiB\n", job.moveRecords.size(),
              MiB(job.moveRecords.memoryBytes()), MiB(job.moveLines.capacity() * sizeof(int32_t)));
  std::printf("  NC editor: %d lines, %.1f MiB text (and as much again for its styles)\n",
              editor->lineCount(), MiB(editorBytes));
  for (const auto& [name, p] : {std::pair<const char*, const Picture*>{"working", &job.working},
                                {"accepted", &job.accepted},
                                {"backup", &job.backup},
                                {"result", &job.result}})
    std::printf("  picture %-8s %d x %d, %.1f MiB\n", name, p->width, p->height,
                MiB(p->px.capacity() * sizeof(uint32_t)));
  const Rss r = ReadRss();
  std::printf("  RSS %.1f MiB, peak %.1f MiB\n", r.now, r.peak);
  std::fflush(stdout);
  w.setProgressHook({});
  QTimer::singleShot(0, qApp, &QApplication::quit);
}

}  // namespace korvane
