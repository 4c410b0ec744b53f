#include "info/memory_win.h"

#include <windows.h>

namespace corvel {

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

MemoryStatus SystemMemorySource::Status() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  MemoryStatus s;
  s.memoryLoad = status.dwMemoryLoad;
  s.totalPhys = status.dwTotalPhys;
  s.availPhys = status.dwAvailPhys;
  s.totalPageFile = status.dwTotalPageFile;
  s.availPageFile = status.dwAvailPageFile;
  s.totalVirtual = status.dwTotalVirtual;
  s.availVirtual = status.dwAvailVirtual;
  return s;
}

}  // namespace corvel
