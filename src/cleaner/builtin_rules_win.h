// The built-in targets' base folders and environment on Windows.
#pragma once
#include <string>
#include <vector>

#include "cleaner/builtin_rules.h"

namespace corvel {

BuiltInBases ResolveBuiltInBases();

class Win32BuiltInEnvironment : public BuiltInEnvironment {
 public:
  bool FolderExists(const std::wstring& path) override;
  bool FileExists(const std::wstring& path) override;
  std::vector<std::wstring> Subfolders(const std::wstring& folder) override;
  std::wstring SecondFixedDrive() override;
  void ScheduleDeleteOnReboot(const std::wstring& path) override;
  std::wstring LongPath(const std::wstring& path) override;
};

// The bases resolved now, the rule lines built on this system.
std::vector<std::wstring> BuildBuiltInRules(bool updateBackups, bool prefetch);

}  // namespace corvel
