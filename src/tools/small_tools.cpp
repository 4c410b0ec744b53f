#include "tools/small_tools.h"

#include "base/path.h"

namespace corvel {

const wchar_t* UserStatus(const std::wstring& account, const std::wstring& currentUser) {
  return account.find(currentUser) != std::wstring::npos ? L"Logged in" : L"Logged off";
}

const wchar_t* PrivilegeName(unsigned long level) {
  switch (level) {
    case 0: return L"Guest";
    case 1: return L"User";
    case 2: return L"Admin";
    default: return L"Unknown";
  }
}

std::wstring DosParameters(const std::wstring& params) { return L"/K " + params; }

UpdateTarget WindowsUpdateTarget(unsigned windowsMajor, const std::wstring& systemFolder,
                                 const std::wstring& keyboardLayout) {
  if (windowsMajor >= 10) return {L"ms-settings:windowsupdate", L""};
  if (windowsMajor > 5) return {JoinPath(systemFolder, L"wuapp.exe"), L"startmenu"};
  const bool german = keyboardLayout.find(L"407") != std::wstring::npos;
  return {std::wstring(L"https://update.microsoft.com/microsoftupdate/v6/default.aspx?ln=") + (german ? L"de" : L"en"),
          L""};
}

}  // namespace corvel
