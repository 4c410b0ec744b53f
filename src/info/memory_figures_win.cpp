#include "info/memory_figures_win.h"

#include <windows.h>

#include "win/windows_version.h"

namespace corvel {

std::optional<OsVersion> SystemMemorySource::Version() {
  const WindowsVersion& v = ReportedWindowsVersion();
  return OsVersion{v.nt, v.major};
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
