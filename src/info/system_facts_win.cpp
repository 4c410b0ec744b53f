#include "info/system_facts_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/text.h"
#include "info/system_facts.h"
#include "win/handles.h"

namespace corvel {

namespace {

// Read access only: these are the system's values, not ours.
UniqueRegKey OpenForReading(HKEY root, const wchar_t* path) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &raw) != ERROR_SUCCESS) return UniqueRegKey();
  return UniqueRegKey(raw);
}

std::wstring ReadString(HKEY key, const wchar_t* name) {
  if (!key) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
    return {};
  text.resize(size / sizeof(wchar_t));
  // A stored text may or may not carry its terminating NUL.
  const std::size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

bool ReadInteger(HKEY key, const wchar_t* name, DWORD& value) {
  if (!key) return false;
  DWORD type = 0, size = sizeof value;
  return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
         type == REG_DWORD;
}

std::wstring RegistryText(const wchar_t* path, const wchar_t* name) {
  return ReadString(OpenForReading(HKEY_LOCAL_MACHINE, path).get(), name);
}

}  // namespace

OsFacts ReadOsFacts() {
  OSVERSIONINFOEXW v{};
  v.dwOSVersionInfoSize = sizeof v;
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v))) {
    v = {};
    v.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v));
  }
  const bool nt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  const wchar_t* current = nt ? L"Software\\Microsoft\\Windows NT\\CurrentVersion" : L"Software\\Microsoft\\Windows\\CurrentVersion";
  OsFacts f;
  UniqueRegKey key = OpenForReading(HKEY_LOCAL_MACHINE, current);
  f.productName = ReadString(key.get(), L"ProductName");
  f.productId = ReadString(key.get(), L"ProductID");
  f.company = ReadString(key.get(), L"RegisteredOrganization");
  f.owner = ReadString(key.get(), L"RegisteredOwner");
  f.major = IntToStr(v.dwMajorVersion);
  f.minor = IntToStr(v.dwMinorVersion);
  f.build = IntToStr(v.dwBuildNumber);
  f.servicePack = v.szCSDVersion;
  if (nt && v.dwMajorVersion >= 5) {
    f.spMajor = IntToStr(v.wServicePackMajor);
  } else {
    DWORD csd = 0;
    if (ReadInteger(OpenForReading(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Windows").get(),
                    L"CSDVersion", csd))
      f.spMajor = IntToStr(ServicePackFromCsdVersion(csd));
  }
  f.ieVersion = RegistryText(L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version");
  f.directXVersion = RegistryText(L"SOFTWARE\\Microsoft\\DirectX", L"Version");
  return f;
}

std::wstring DefaultBrowserPath() {
  UniqueRegKey key = OpenForReading(HKEY_CLASSES_ROOT, L"htmlfile\\shell\\open\\command");
  return CutBrowserCommand(ReadString(key.get(), nullptr));
}

std::wstring SystemLanguageName() {
  wchar_t name[256] = L"";
  const DWORD n = VerLanguageNameW(GetSystemDefaultLangID(), name, 256);
  return std::wstring(name, n < 256 ? n : 255);
}

std::wstring DriveTypeNameOf(wchar_t letter) {
  const std::wstring root = std::wstring(1, letter) + L":\\";
  return DriveTypeName(GetLogicalDrives(), GetDriveTypeW(root.c_str()));
}

std::vector<DriveEntry> ListDrives(HIMAGELIST* images) {
  std::vector<DriveEntry> drives;
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    const wchar_t letter = static_cast<wchar_t>(L'A' + i);
    const std::wstring root = std::wstring(1, letter) + L":\\";
    switch (GetDriveTypeW(root.c_str())) {
      case DRIVE_REMOVABLE: case DRIVE_FIXED: case DRIVE_REMOTE: case DRIVE_CDROM: case DRIVE_RAMDISK: break;
      default: continue;
    }
    SHFILEINFOW info{};
    const auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        root.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME));
    if (list && images) *images = list;
    std::wstring name = info.szDisplayName;
    if (name.empty()) name = std::wstring(1, letter) + L":";
    drives.push_back({letter, name, list ? info.iIcon : -1});
  }
  return drives;
}

}  // namespace corvel
