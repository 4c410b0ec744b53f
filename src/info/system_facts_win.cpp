#include "info/system_facts_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/text.h"
#include "info/system_facts.h"
#include "win/registry.h"
#include "win/windows_version.h"

namespace corvel {

OsFacts ReadOsFacts() {
  const WindowsVersion& v = ReportedWindowsVersion();
  const bool nt = v.nt;
  const wchar_t* current = nt ? L"Software\\Microsoft\\Windows NT\\CurrentVersion" : L"Software\\Microsoft\\Windows\\CurrentVersion";
  OsFacts f;
  f.productName = RegistryText(HKEY_LOCAL_MACHINE, current, L"ProductName");
  f.productId = RegistryText(HKEY_LOCAL_MACHINE, current, L"ProductID");
  f.company = RegistryText(HKEY_LOCAL_MACHINE, current, L"RegisteredOrganization");
  f.owner = RegistryText(HKEY_LOCAL_MACHINE, current, L"RegisteredOwner");
  f.major = IntToStr(v.major);
  f.minor = IntToStr(v.minor);
  f.build = IntToStr(v.build);
  f.servicePack = v.servicePack;
  if (nt && v.major >= 5) {
    f.spMajor = IntToStr(v.servicePackMajor);
  } else {
    if (const auto csd = RegistryDword(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Windows", L"CSDVersion"))
      f.spMajor = IntToStr(ServicePackFromCsdVersion(*csd));
  }
  f.ieVersion = RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version");
  f.directXVersion = RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\DirectX", L"Version");
  return f;
}

std::wstring DefaultBrowserPath() {
  return CutBrowserCommand(RegistryText(HKEY_CLASSES_ROOT, L"htmlfile\\shell\\open\\command", nullptr));
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
