// Loading and saving the five settings files, each value read or written on
// its own as the store does it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/job.h"
#include "core/jobsettings.h"
#include "base/interaction.h"
#include "settings/configdir.h"
#include "settings/settings.h"

namespace {

struct Folder {
  std::string path;
  Folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
    path = mkdtemp(pattern.data());
    std::filesystem::remove(path);
    korvane::EnsureConfigDir(path);  // the shipped defaults
    std::filesystem::copy_file(
        std::filesystem::path(__FILE__).parent_path().parent_path() / "data/lang/german.txt",
        path + "/german.txt");
  }
  ~Folder() { std::filesystem::remove_all(path); }
};

void BM_LoadSettings(benchmark::State& state) {
  Folder folder;
  korvane::FixedAnswers ui(true);
  korvane::Job job;
  for (auto _ : state) {
    benchmark::DoNotOptimize(korvane::LoadSettings(job, folder.path, folder.path, ui, ""));
  }
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMillisecond);

void BM_SaveSettings(benchmark::State& state) {
  Folder folder;
  korvane::FixedAnswers ui(true);
  korvane::Job job;
  korvane::LoadSettings(job, folder.path, folder.path, ui, "");
  for (auto _ : state) {
    benchmark::DoNotOptimize(korvane::SaveSettings(job, folder.path, folder.path, ui, ""));
  }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
