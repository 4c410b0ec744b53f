#include "app/system_win.h"

#include <shlobj.h>

#include <vector>

#include "win/handles.h"
#include "win/registry.h"

namespace corvel {

bool EnablePrivilege(const std::wstring& name) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw)) return true;
  UniqueHandle token(raw);
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  LookupPrivilegeValueW(nullptr, name.c_str(), &tp.Privileges[0].Luid);
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  SetLastError(0);
  AdjustTokenPrivileges(token.Get(), FALSE, &tp, 0, nullptr, nullptr);
  return GetLastError() == 0;
}

bool IsUacEnabled() {
  // Read access is enough to learn the setting; asking for full access would
  // fail for every user without administrator rights and report "off".
  const auto lua = RegistryDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                 L"EnableLUA");
  return lua && *lua != 0;
}

std::wstring ProgramVersionText(const std::wstring& path, int uiLanguage) {
  std::wstring fallback = uiLanguage != 0 ? L"Not available" : L"Nicht verfügbar";
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return fallback;
  std::vector<BYTE> buffer(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, buffer.data())) return fallback;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
      len < sizeof(VS_FIXEDFILEINFO))
    return fallback;
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
         L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

unsigned ReportedWindowsMajor() {
  OSVERSIONINFOW v{sizeof v};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&v);
#pragma GCC diagnostic pop
  return v.dwMajorVersion;
}

std::wstring DataFolder() {
  std::wstring folder;
  PIDLIST_ABSOLUTE pidl = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_APPDATA, &pidl)) && pidl) {
    wchar_t path[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(pidl, path)) folder = path;
    CoTaskMemFree(pidl);
  }
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder + L"\\corveldata\\";
}

std::wstring ProgramPath() {
  std::wstring path(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path;
}

std::wstring ProgramFolder() {
  std::wstring path = ProgramPath();
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

void ShowHelpContext(HWND owner, const std::wstring& helpFile, unsigned context) {
  using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  static HMODULE hh = LoadLibraryW(L"hhctrl.ocx");  // kept for the program's life
  if (!hh) return;
  auto fn = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(hh, "HtmlHelpW")));
  constexpr UINT kHelpContext = 0x000F;
  if (fn) fn(owner, helpFile.c_str(), kHelpContext, context);
}

wchar_t UserDecimalSeparator() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 0 && buf[0]) return buf[0];
  return L'.';
}

}  // namespace corvel
