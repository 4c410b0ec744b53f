#include "info/display_facts_win.h"

#include <shellapi.h>

#include <string>

#include "win/handles.h"
#include "win/registry.h"

namespace corvel {

namespace {

std::wstring LongPath(const std::wstring& path) {
  if (path.empty()) return path;
  const DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::wstring longPath(n, L'\0');
  const DWORD written = GetLongPathNameW(path.c_str(), longPath.data(), n);
  if (written == 0 || written >= n) return path;
  longPath.resize(written);
  return longPath;
}

}  // namespace

std::wstring IconLocationText() {
  SHFILEINFOW info{};
  if (SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_ICONLOCATION) && info.szDisplayName[0]) return info.szDisplayName;
  // The empty name has no extension, so no type of its own: the shell's
  // type for files it cannot place.
  return IconFileOfDefaultIcon(RegistryText(HKEY_CLASSES_ROOT, L"Unknown\\DefaultIcon", nullptr));
}

DisplayFacts SystemDisplaySource::Facts() {
  DisplayFacts f;
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  // Without a stored mode (a fresh profile) the current one stands in.
  if (EnumDisplaySettingsW(nullptr, ENUM_REGISTRY_SETTINGS, &mode) ||
      EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
    f.width = static_cast<int>(mode.dmPelsWidth);
    f.height = static_cast<int>(mode.dmPelsHeight);
    f.refreshRate = static_cast<int>(mode.dmDisplayFrequency);
    f.bitsPerPixel = static_cast<int>(mode.dmBitsPerPel);
  }
  {
    WindowDc screen(nullptr);
    f.deviceBits = GetDeviceCaps(screen.get(), BITSPIXEL);
    f.dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
  }
  f.monitors = GetSystemMetrics(SM_CMONITORS);
  f.iconWidth = GetSystemMetrics(SM_CXICON);
  f.iconHeight = GetSystemMetrics(SM_CYICON);
  f.iconLocation = IconLocationText();
  f.screenSaver = LongPath(RegistryText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"SCRNSAVE.EXE"));
  f.wallpaper = RegistryText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper");
  UINT type = 0;
  f.clearType = SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0) && type == FE_FONTSMOOTHINGCLEARTYPE;
  return f;
}

ScreenSize SystemDisplaySource::CurrentSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

DEVMODEW ResolutionModeRecord(const DEVMODEW& mode0, int width, int height) {
  DEVMODEW mode = mode0;
  mode.dmPelsWidth = static_cast<WORD>(width);
  mode.dmPelsHeight = static_cast<WORD>(height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  return mode;
}

bool SystemDisplaySource::SetScreenResolution(int width, int height) {
  DEVMODEW mode0{};
  mode0.dmSize = sizeof mode0;
  if (!EnumDisplaySettingsW(nullptr, 0, &mode0)) return false;
  DEVMODEW mode = ResolutionModeRecord(mode0, width, height);
  return ChangeDisplaySettingsW(&mode, CDS_UPDATEREGISTRY) == DISP_CHANGE_SUCCESSFUL;
}

}  // namespace corvel
