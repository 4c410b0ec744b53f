#include "info/cpu_facts_win.h"

#include <windows.h>

#include <cpuid.h>
#include <x86intrin.h>

#include <cmath>

namespace corvel {

CpuidFunction ProcessorCpuid() {
  return [](std::uint32_t leaf, std::uint32_t subleaf) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(leaf, subleaf, a, b, c, d);
    return CpuidRegs{a, b, c, d};
  };
}

int MeasuredCpuMhz() {
  constexpr double kIntervalSeconds = 0.03;  // short: it runs on every fill of the page
  LARGE_INTEGER frequency, start, now;
  if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return 0;
  // Stay on one processor so both counters come from the same core.
  HANDLE thread = GetCurrentThread();
  const DWORD_PTR previous = SetThreadAffinityMask(thread, 1);
  const int oldPriority = GetThreadPriority(thread);
  SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
  QueryPerformanceCounter(&start);
  const unsigned long long tscStart = __rdtsc();
  const LONGLONG ticks = static_cast<LONGLONG>(kIntervalSeconds * static_cast<double>(frequency.QuadPart));
  do {
    QueryPerformanceCounter(&now);
  } while (now.QuadPart - start.QuadPart < ticks);
  const unsigned long long tscEnd = __rdtsc();
  SetThreadPriority(thread, oldPriority);
  if (previous) SetThreadAffinityMask(thread, previous);
  const double seconds = static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  if (seconds <= 0) return 0;
  const double mhz = static_cast<double>(tscEnd - tscStart) / seconds / 1e6;
  if (!std::isfinite(mhz) || mhz <= 0 || mhz > 1e6) return 0;
  return NormalizeMhz(static_cast<int>(std::lround(mhz)));
}

}  // namespace corvel
