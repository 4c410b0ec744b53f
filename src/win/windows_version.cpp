#include "win/windows_version.h"

#include <windows.h>

namespace corvel {

namespace {

WindowsVersion Read() {
  OSVERSIONINFOEXW v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v))) {
    // Systems before NT 4 SP 6 know only the short record.
    v = {};
    v.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v));
  }
#pragma GCC diagnostic pop
  WindowsVersion w;
  w.major = v.dwMajorVersion;
  w.minor = v.dwMinorVersion;
  w.build = v.dwBuildNumber;
  w.nt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  w.ninetyFive = v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  if (w.nt && w.major >= 5) w.servicePackMajor = v.wServicePackMajor;
  w.servicePack = v.szCSDVersion;
  return w;
}

}  // namespace

const WindowsVersion& ReportedWindowsVersion() {
  static const WindowsVersion version = Read();
  return version;
}

}  // namespace corvel
