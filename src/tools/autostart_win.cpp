#include "tools/autostart_win.h"

#include <shellapi.h>

#include <algorithm>

#include "base/path.h"
#include "win/handles.h"

namespace corvel {

const RunKey kMachineRun{HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", kRunKey, 0};
const RunKey kMachineRun32{HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", kRunKey32, KEY_WOW64_32KEY};
const RunKey kUserRun{HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", kRunKey, 0};

std::optional<RegistryKey> OpenRunKey(const RunKey& run, RunAccess access, LSTATUS* status) {
  // The 32-bit view is reached through the view flag and the ordinary path.
  const REGSAM rights = (access == RunAccess::Read ? KEY_READ : KEY_READ | KEY_SET_VALUE) | run.view;
  return access == RunAccess::Add ? RegistryKey::Create(run.root, kRunKey, rights, status)
                                  : RegistryKey::Open(run.root, kRunKey, rights, status);
}

std::vector<std::wstring> StartupFolderNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  if (folder.empty()) return names;
  WIN32_FIND_DATAW data;
  const UniqueFind find(FindFirstFileExW(JoinPath(folder, L"*.*").c_str(), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, 0));
  if (find.get() == INVALID_HANDLE_VALUE) return names;
  constexpr DWORD kLeftOut = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if (data.dwFileAttributes & kLeftOut) continue;
    SHFILEINFOW info{};
    const std::wstring path = JoinPath(folder, data.cFileName);
    names.push_back(SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) ? info.szDisplayName
                                                                                             : data.cFileName);
  } while (FindNextFileW(find.get(), &data));
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                           static_cast<int>(b.size()), nullptr, nullptr, 0) == CSTR_LESS_THAN;
  });
  return names;
}

}  // namespace corvel
