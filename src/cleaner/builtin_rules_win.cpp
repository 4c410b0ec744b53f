#include "cleaner/builtin_rules_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "base/text.h"
#include "cleaner/cleaner_ops_win.h"
#include "fileinfo/file_helpers.h"
#include "win/handles.h"
#include "win/registry.h"

namespace corvel {
namespace {

std::wstring SpecialFolder(int csidl) {
  LPITEMIDLIST raw = nullptr;
  const HRESULT hr = SHGetSpecialFolderLocation(nullptr, csidl, &raw);
  const UniqueCoTaskMem<ITEMIDLIST> list(raw);
  if (FAILED(hr) || !list) return {};
  wchar_t path[MAX_PATH] = L"";
  const bool ok = SHGetPathFromIDListW(list.get(), path);
  std::wstring out = ok ? path : L"";
  while (out.size() > 3 && out.back() == L'\\') out.pop_back();
  return out;
}

std::wstring Environment(const wchar_t* name, bool& present) {
  const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  present = n != 0;
  if (!n) return {};
  std::wstring value(n, L'\0');
  const DWORD got = GetEnvironmentVariableW(name, value.data(), n);
  value.resize(got < n ? got : 0);
  return value;
}

}  // namespace

BuiltInBases ResolveBuiltInBases() {
  BuiltInBases b;
  wchar_t buffer[MAX_PATH] = L"";
  UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
  b.windows = n && n < MAX_PATH ? buffer : L"";
  n = GetSystemDirectoryW(buffer, MAX_PATH);
  b.system = n && n < MAX_PATH ? buffer : L"";
  if (b.system.empty() || b.system.back() != L'\\') b.system += L'\\';
  // TEMP only: TMP plays no part, and without TEMP there is no Temp base
  // (never the folder the program happened to be started from).
  bool present = false;
  b.temp = Environment(L"TEMP", present);
  b.appData = SpecialFolder(CSIDL_APPDATA);
  b.profile = SpecialFolder(CSIDL_PROFILE);
  b.inetCache = SpecialFolder(CSIDL_INTERNET_CACHE);
  b.cookies = SpecialFolder(CSIDL_COOKIES);
  b.history = SpecialFolder(CSIDL_HISTORY);
  b.commonData = SpecialFolder(CSIDL_COMMON_APPDATA);
  for (const int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86})
    if (std::wstring folder = SpecialFolder(csidl); !folder.empty()) b.programFiles.push_back(folder);
  b.commonFiles = RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"CommonFilesDir");
  return b;
}

bool Win32BuiltInEnvironment::FolderExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(ExtendedLengthPath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32BuiltInEnvironment::FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(ExtendedLengthPath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> Win32BuiltInEnvironment::Subfolders(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const UniqueFind find(FindFirstFileW(ExtendedLengthPath(folder + L"\\*").c_str(), &data));
  if (find.get() == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.get(), &data));
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    const std::wstring la = AsciiLower(a), lb = AsciiLower(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

std::wstring Win32BuiltInEnvironment::SecondFixedDrive() {
  const DWORD drives = GetLogicalDrives();
  int found = 0;
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\";
    if (GetDriveTypeW(root.c_str()) == DRIVE_FIXED && ++found == 2) return root.substr(0, 2);
  }
  return {};
}

std::wstring Win32BuiltInEnvironment::LongPath(const std::wstring& path) {
  const std::wstring name = ExtendedLengthPath(path);
  const DWORD n = GetLongPathNameW(name.c_str(), nullptr, 0);
  if (!n) return path;
  std::wstring value(n, L'\0');
  const DWORD got = GetLongPathNameW(name.c_str(), value.data(), n);
  if (!got || got >= n) return path;
  value.resize(got);
  // The extended form is undone again when the path was given without it.
  if (name != path && value.starts_with(L"\\\\?\\") && !value.starts_with(L"\\\\?\\UNC\\")) value.erase(0, 4);
  return value;
}

void Win32BuiltInEnvironment::ScheduleDeleteOnReboot(const std::wstring& path) { corvel::ScheduleDeleteOnReboot(path); }

std::vector<std::wstring> BuildBuiltInRules(bool updateBackups, bool prefetch) {
  Win32BuiltInEnvironment env;
  return BuildBuiltInRules(ResolveBuiltInBases(), env, updateBackups, prefetch);
}

}  // namespace corvel
