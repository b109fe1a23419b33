// The processor time this process and its waited-for children have used, in
// seconds. The engine benchmarks run the engine embedded, in this process,
// so the time a statement takes to run here is what it cost; unlike the time
// on the clock it does not grow while other processes have the processor,
// which keeps the measurements of a busy machine comparable.
#pragma once

#include <sys/resource.h>

namespace qor_bench {

inline double CpuSeconds() {
  double total = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage usage{};
    if (getrusage(who, &usage) != 0) continue;
    for (const timeval& t : {usage.ru_utime, usage.ru_stime}) total += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
  }
  return total;
}

}  // namespace qor_bench
