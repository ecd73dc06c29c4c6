// Outline tracing of a large scan, the way korvane-cli does it: decode the
// file row by row straight into the framed compact map, then trace.
//
// usage: outline_bench PICTURE [--own-bmp | --picture]
//   --own-bmp   read the 1-bit bitmap with the few lines below instead
//   --picture   the 32-bit way: decode into a picture, frame it, trace it
// Prints one line: read and trace times in milliseconds, the segment count
// and the peak resident memory of the process in KiB. One traced picture per
// process, so that first-touch costs and peak memory are those of a real run.
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "contour/outline.h"
#include "contour/tracemap.h"
#include "base/interaction.h"
#include "core/job.h"
#include "image/decode.h"

namespace {

using korvane::RowSink;

uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Minimal reader for uncompressed 1-bit bitmaps (the bench's own picture),
// to compare with the project's decoder.
bool ReadBmp1(const std::string& path, RowSink& sink, std::string& error) {
  std::ifstream f(path, std::ios::binary);
  std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), {});
  if (d.size() < 62 || d[0] != 'B' || d[1] != 'M') return error = "not a bitmap", false;
  const uint32_t offset = Le32(&d[10]);
  const uint32_t infoSize = Le32(&d[14]);
  const int32_t w = static_cast<int32_t>(Le32(&d[18]));
  int32_t h = static_cast<int32_t>(Le32(&d[22]));
  const bool bottomUp = h > 0;
  if (h < 0) h = -h;
  if (d[28] != 1 || Le32(&d[30]) != 0 || w <= 0) return error = "not a 1-bit bitmap", false;
  const unsigned char* pal = &d[14 + infoSize];
  uint32_t colour[2];
  for (int i = 0; i < 2; ++i)
    colour[i] = 0xFF000000u | (pal[4 * i + 2] << 16) | (pal[4 * i + 1] << 8) | pal[4 * i];
  const size_t stride = (static_cast<size_t>(w) + 31) / 32 * 4;
  if (offset + stride * static_cast<size_t>(h) > d.size()) return error = "truncated", false;
  if (!sink.begin(w, h)) return error = "refused", false;
  std::vector<uint32_t> row(static_cast<size_t>(w));
  for (int32_t r = 0; r < h; ++r) {
    const unsigned char* src = &d[offset + stride * static_cast<size_t>(r)];
    for (int32_t x = 0; x < w; ++x) row[x] = colour[(src[x >> 3] >> (7 - (x & 7))) & 1];
    sink.row(bottomUp ? h - 1 - r : r, row.data());
  }
  return true;
}

// CPU time of the process: steadier than wall time on a busy machine.
double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Notes when each pass ends (the status text changes at the start of the next).
class PassClock : public korvane::ProgressSink {
 public:
  void report(const std::string& text, int) override {
    if (text != text_) {
      text_ = text;
      starts.push_back(std::chrono::steady_clock::now());
    }
  }
  std::vector<std::chrono::steady_clock::time_point> starts;

 private:
  std::string text_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PICTURE [--own-bmp | --picture]\n", argv[0]);
    return 2;
  }
  const bool ownBmp = argc > 2 && std::strcmp(argv[2], "--own-bmp") == 0;
  const bool viaPicture = argc > 2 && std::strcmp(argv[2], "--picture") == 0;
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  korvane::Job job;
  korvane::TraceMap map;
  korvane::FramedTraceMapSink sink(map);
  std::string error;
  const auto t1 = Clock::now();
  const double c1 = CpuMs();
  korvane::Picture framed;
  bool ok;
  if (viaPicture) {
    korvane::Picture picture;
    ok = korvane::LoadPictureFile(argv[1], picture, error);
    framed.resize(picture.width + 2, picture.height + 2, korvane::kWhite);
    for (int32_t y = 0; y < picture.height; ++y) {
      std::memcpy(&framed.at(1, y + 1), &picture.at(0, y), sizeof(uint32_t) * picture.width);
    }
  } else {
    ok = ownBmp ? ReadBmp1(argv[1], sink, error) : korvane::DecodePictureFile(argv[1], sink, error);
  }
  if (!ok) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  const auto t2 = Clock::now();
  const double c2 = CpuMs();
  PassClock progress;
  if (viaPicture) {
    korvane::ScanOutLine(framed, job.segments, job.cancelRequested, progress);
  } else {
    korvane::ScanOutLine(map, job.segments, job.cancelRequested, progress);
  }
  const auto t3 = Clock::now();
  const double c3 = CpuMs();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("setup_ms %.1f read_ms %.1f trace_ms %.1f", Ms(t1 - t0), Ms(t2 - t1), Ms(t3 - t2));
  // The first report comes after the first row of a pass; close enough.
  if (progress.starts.size() == 3) {
    std::printf(" (mark %.1f remove %.1f segments %.1f)", Ms(progress.starts[1] - t2),
                Ms(progress.starts[2] - progress.starts[1]), Ms(t3 - progress.starts[2]));
  }
  std::printf(" cpu: read_ms %.1f trace_ms %.1f", c2 - c1, c3 - c2);
  std::printf(" segments %d maxrss_kb %ld\n", job.segments.count(), ru.ru_maxrss);
  return 0;
}
