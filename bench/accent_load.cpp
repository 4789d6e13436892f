// Loading the accent rules (acc.ktn) alone, each time in a new child process, as at a real
// start: wall and CPU time, minor page faults and peak resident memory, minimum and median.
// Once as a bare process, once with the heap grown ahead as the engine grows it while loading.
//
// usage: bench_accent_load [DICT_FOLDER] [RUNS]   (default: the source tree's dll/, 15 runs)
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "analysis/Intonation.h"
#include "bench/cpu_time.h"
#include "engine/heap_reserve.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"

namespace {

// The heap the engine reserves while it loads its dictionaries (engine/clsMAIN.cpp).
constexpr size_t kEngineLoadingHeap = 24 << 20;

struct Sample {
  double wallMs;
  double cpuMs;
  long minorFaults;
  long peakRssKb;
  int rules;
};

// One load in a child process; false when the child failed.
bool Measure(const std::string& folder, bool reserve, Sample& out) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    Sample s{};
    {
      std::unique_ptr<kotonel::HeapReserve> held;
      if (reserve) held = std::make_unique<kotonel::HeapReserve>(kEngineLoadingHeap);
      rusage before{};
      getrusage(RUSAGE_SELF, &before);
      const double cpu0 = CpuSeconds();
      const auto t0 = std::chrono::steady_clock::now();
      try {
        kotonel::Intonation ton(folder);
        s.rules = ton.RuleCount();
      } catch (const kotonel::DictionaryError& e) {
        std::fprintf(stderr, "%s\n", kotonel::ToUtf8(e.Message() + U" " + e.Line()).c_str());
        _exit(1);
      }
      s.wallMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      s.cpuMs = (CpuSeconds() - cpu0) * 1000;
      rusage after{};
      getrusage(RUSAGE_SELF, &after);
      s.minorFaults = after.ru_minflt - before.ru_minflt;
      s.peakRssKb = after.ru_maxrss;
    }
    bool ok = write(fds[1], &s, sizeof s) == static_cast<ssize_t>(sizeof s);
    _exit(ok ? 0 : 1);
  }
  close(fds[1]);
  bool ok = read(fds[0], &out, sizeof out) == static_cast<ssize_t>(sizeof out);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <class T>
std::pair<T, T> MinMedian(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  return {v.front(), v[v.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : std::string(KOTONEL_SOURCE_DIR) + "dll/";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
  struct stat st {};
  if (stat((folder + "acc.ktn").c_str(), &st) != 0) {
    std::fprintf(stderr, "no acc.ktn in %s\n", folder.c_str());
    return 1;
  }
  for (bool reserve : {false, true}) {
    std::vector<double> wall, cpu;
    std::vector<long> faults, rss;
    int rules = 0;
    for (int i = 0; i < runs; ++i) {
      Sample s{};
      if (!Measure(folder, reserve, s)) {
        std::fprintf(stderr, "a load failed\n");
        return 1;
      }
      wall.push_back(s.wallMs);
      cpu.push_back(s.cpuMs);
      faults.push_back(s.minorFaults);
      rss.push_back(s.peakRssKb);
      rules = s.rules;
    }
    if (!reserve)
      std::printf("acc.ktn: %d rules, %.2f MB; %d runs, min / median\n", rules,
                  static_cast<double>(st.st_size) / 1e6, runs);
    auto [w0, w1] = MinMedian(wall);
    auto [c0, c1] = MinMedian(cpu);
    auto [f0, f1] = MinMedian(faults);
    auto [r0, r1] = MinMedian(rss);
    std::printf(
        "%s: wall %.1f / %.1f ms, CPU %.1f / %.1f ms, page faults %ld / %ld, peak RSS "
        "%.1f / %.1f MB\n",
        reserve ? "with the engine's 24 MB heap reserve" : "bare process", w0, w1, c0, c1, f0, f1,
        static_cast<double>(r0) / 1024, static_cast<double>(r1) / 1024);
  }
  return 0;
}
