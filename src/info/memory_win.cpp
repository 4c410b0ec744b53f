#include "info/memory_win.h"

#include <windows.h>

#include <algorithm>

namespace corvel {

namespace {

std::uint32_t Capped(unsigned long long value) {
  return static_cast<std::uint32_t>(std::min<unsigned long long>(value, 0xFFFFFFFFull));
}

}  // namespace

std::optional<OsVersion> SystemMemorySource::Version() {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&v)) return std::nullopt;
#pragma GCC diagnostic pop
  return OsVersion{v.dwPlatformId == VER_PLATFORM_WIN32_NT, v.dwMajorVersion};
}

std::optional<std::uint64_t> SystemMemorySource::ExtendedTotal() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
  return status.ullTotalPhys;
}

MemoryStatus32 SystemMemorySource::Status() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  MemoryStatus32 s;
  s.memoryLoad = status.dwMemoryLoad;
  s.totalPhys = Capped(status.dwTotalPhys);
  s.availPhys = Capped(status.dwAvailPhys);
  s.totalPageFile = Capped(status.dwTotalPageFile);
  s.availPageFile = Capped(status.dwAvailPageFile);
  s.totalVirtual = Capped(status.dwTotalVirtual);
  s.availVirtual = Capped(status.dwAvailVirtual);
  return s;
}

}  // namespace corvel
