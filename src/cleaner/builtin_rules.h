// The cleaner's own targets, turned into rule lines ahead of the user's.
// Portable over a small environment port; builtin_rules_win.cpp resolves it
// on Windows.
#pragma once
#include <string>
#include <vector>

namespace corvel {

// The base folders, without trailing backslashes except `system`, which
// keeps one. A folder that cannot be resolved is empty. `temp` is the value
// of TEMP as the environment holds it (empty when unset); `programFiles` the
// Program Files folders, which only guard (see IsProtectedFolder).
struct BuiltInBases {
  std::wstring windows, system, temp, appData, profile, inetCache, cookies, history, commonData, commonFiles;
  std::vector<std::wstring> programFiles;
};

class BuiltInEnvironment {
 public:
  virtual ~BuiltInEnvironment() = default;
  virtual bool FolderExists(const std::wstring& path) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  // Names of the subfolders of `folder`, in name order.
  virtual std::vector<std::wstring> Subfolders(const std::wstring& folder) = 0;
  // The second fixed drive in drive-letter order ("D:"), empty when none.
  virtual std::wstring SecondFixedDrive() = 0;
  virtual void ScheduleDeleteOnReboot(const std::wstring& path) = 0;
  // The path with its short (8.3) names written long; as given when it
  // cannot be resolved.
  virtual std::wstring LongPath(const std::wstring& path) = 0;
};

// True for a folder no built-in rule may clean: a drive root, the Windows
// folder, the system folder, a Program Files folder, the profiles folder
// (the profile's parent) or a profile in it. Separators, case and the
// trailing dots and blanks Windows drops do not matter.
bool IsProtectedFolder(const std::wstring& folder, const BuiltInBases& bases);

// The Temp base: TEMP written with backslashes when it names an existing
// folder by an absolute path and that folder holds none of the folders the
// program or the user keep (a protected folder, or one of the other bases);
// empty otherwise, and the rows built on it are left out.
std::wstring TempBase(const BuiltInBases& bases, BuiltInEnvironment& env);

// The Firefox profile in a Profiles folder: the first subfolder whose path
// holds ".default", else the last subfolder, else the folder itself; empty
// when the folder does not exist.
std::wstring FindFirefoxProfile(BuiltInEnvironment& env, const std::wstring& profilesFolder);

// The built-in rule lines in order (at most 98), and the delete-at-restart
// requests for the Internet Explorer index files that exist. A row whose
// folder is protected is left out; only the Windows folder's own "*.log"
// and "*.dmp" rows (no subfolders) are made for it.
std::vector<std::wstring> BuildBuiltInRules(const BuiltInBases& bases, BuiltInEnvironment& env, bool updateBackups,
                                            bool prefetch);

}  // namespace corvel
