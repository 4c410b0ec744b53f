// The folders the program works with, each asked of the system in one place.
#pragma once
#include <string>

namespace corvel {

// The running program's full path.
std::wstring ProgramPath();
// The running program's folder, with a trailing backslash.
std::wstring ProgramFolder();
// A shell special folder (CSIDL_...) without a trailing backslash; empty when
// the system has none.
std::wstring SpecialFolder(int csidl);
// The common application-data folder + "\corveldata\" (always ends with a
// backslash; "\corveldata\" when the special folder cannot be resolved).
std::wstring DataFolder();
// The system folder ("C:\Windows\system32"), without a trailing backslash.
std::wstring SystemFolder();

}  // namespace corvel
