// The Windows version the system reports to the program (GetVersionExW; the
// manifest's supportedOS list makes it the real one), read once per process.
#pragma once
#include <string>

namespace corvel {

struct WindowsVersion {
  unsigned major = 0, minor = 0, build = 0;
  bool nt = false;                // the NT platform family
  bool ninetyFive = false;        // the Windows 95/98/Me family
  unsigned servicePackMajor = 0;  // 0 unless NT 5 or later
  std::wstring servicePack;       // "Service Pack 1", as reported
};

const WindowsVersion& ReportedWindowsVersion();

}  // namespace corvel
