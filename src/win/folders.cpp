#include "win/folders.h"

#include <windows.h>
#include <shlobj.h>

#include "base/path.h"
#include "win/handles.h"

namespace corvel {

std::wstring ProgramPath() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path;
}

std::wstring ProgramFolder() { return FolderPart(ProgramPath()); }

std::wstring SpecialFolder(int csidl) {
  PIDLIST_ABSOLUTE raw = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &raw)) || !raw) return {};
  const UniqueCoTaskMem<ITEMIDLIST_ABSOLUTE> pidl(raw);
  wchar_t path[MAX_PATH] = L"";
  if (!SHGetPathFromIDListW(pidl.get(), path)) return {};
  return WithoutTrailingBackslash(path);
}

std::wstring DataFolder() { return SpecialFolder(CSIDL_COMMON_APPDATA) + L"\\corveldata\\"; }

std::wstring SystemFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  UINT n = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (n >= folder.size()) {
    folder.resize(n);
    n = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  }
  folder.resize(n < folder.size() ? n : 0);
  return WithoutTrailingBackslash(folder);
}

}  // namespace corvel
