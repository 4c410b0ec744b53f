#include "app/system_win.h"

#include <windows.h>

#include "win/registry.h"
#include "win/version_resource.h"

namespace corvel {

bool IsUacEnabled() {
  // Read access is enough to learn the setting; asking for full access would
  // fail for every user without administrator rights and report "off".
  const auto lua = RegistryDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                 L"EnableLUA");
  return lua && *lua != 0;
}

std::wstring ProgramVersionText(const std::wstring& path, Language language) {
  const auto block = ReadVersionBlock(path);
  return block ? block->FileVersionText() : language.Pick(L"Nicht verfügbar", L"Not available");
}

}  // namespace corvel
