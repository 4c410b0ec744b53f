// The cleaner's own targets, turned into rule lines ahead of the user's.
// Portable over a small environment port; builtin_rules_win.cpp resolves it
// on Windows.
#pragma once
#include <string>
#include <vector>

namespace corvel {

// The base folders, without trailing backslashes except `system`, which
// keeps one. A folder that cannot be resolved is empty.
struct BuiltInBases {
  std::wstring windows, system, temp, appData, profile, inetCache, cookies, history, commonData, commonFiles, current;
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
};

// The Firefox profile in a Profiles folder: the first subfolder whose path
// holds ".default", else the last subfolder, else the folder itself; empty
// when the folder does not exist.
std::wstring FindFirefoxProfile(BuiltInEnvironment& env, const std::wstring& profilesFolder);

// The built-in rule lines in order (at most 98), and the delete-at-restart
// requests for the Internet Explorer index files that exist.
std::vector<std::wstring> BuildBuiltInRules(const BuiltInBases& bases, BuiltInEnvironment& env, bool updateBackups,
                                            bool prefetch);

}  // namespace corvel
