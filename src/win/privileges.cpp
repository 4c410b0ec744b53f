#include "win/privileges.h"

#include <windows.h>

#include "base/errors.h"
#include "win/handles.h"
#include "win/system_message.h"
#include "win/windows_version.h"

namespace corvel {

namespace {

void Adjust(HANDLE token, const std::wstring& name, DWORD attributes) {
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  if (!LookupPrivilegeValueW(nullptr, name.c_str(), &tp.Privileges[0].Luid)) return;  // the last error tells
  tp.Privileges[0].Attributes = attributes;
  SetLastError(0);
  AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
}

}  // namespace

bool EnablePrivilege(const std::wstring& name) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw)) return true;
  const UniqueHandle token(raw);
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  LookupPrivilegeValueW(nullptr, name.c_str(), &tp.Privileges[0].Luid);
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  SetLastError(0);
  AdjustTokenPrivileges(token.Get(), FALSE, &tp, 0, nullptr, nullptr);
  return GetLastError() == 0;
}

bool SetPrivilegeOrRaise(const std::wstring& name, bool on) {
  if (!ReportedWindowsVersion().nt) return true;
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw))
    throw Error(SystemMessage(GetLastError()));
  const UniqueHandle token(raw);
  Adjust(token.Get(), name, on ? SE_PRIVILEGE_ENABLED : 0);
  // Read before the token is closed, which may touch the last error.
  if (const DWORD error = GetLastError()) throw Error(SystemMessage(error));
  return true;
}

}  // namespace corvel
