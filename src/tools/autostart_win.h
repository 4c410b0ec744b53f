// The Autostart page's readings and writes: the Run keys of the machine
// (both registry views) and of the user, and the two startup folders.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/autostart.h"
#include "win/registry.h"

namespace corvel {

// One Run key: where it is and how the details name it.
struct RunKey {
  HKEY root;
  const wchar_t* rootName;  // "HKEY_LOCAL_MACHINE"
  const wchar_t* shownPath;  // the key path the details show
  REGSAM view;               // 0, or KEY_WOW64_32KEY for the 32-bit programs' view
};
extern const RunKey kMachineRun, kMachineRun32, kUserRun;

// The key opened for what is done with it: reading (listing, details, the
// duplicate test), removing a value, or adding one (the key is created when
// missing); nothing when it cannot be opened.
enum class RunAccess { Read, Remove, Add };
std::optional<RegistryKey> OpenRunKey(const RunKey& run, RunAccess access, LSTATUS* status = nullptr);

// A startup folder's entries: the files matching "*.*" that are no folder
// and neither hidden nor system, by their shell display name ("x" for
// "x.lnk"), sorted without regard to case. The folder is read afresh.
std::vector<std::wstring> StartupFolderNames(const std::wstring& folder);

}  // namespace corvel
