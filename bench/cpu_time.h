// CPU time of this process, for benchmarks that report work per CPU second.
#pragma once

#include <time.h>

inline double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
