// The icon extractor's ports on Win32: a program or library loaded as an
// image resource (its code never runs), and new files created with
// CREATE_NEW, so an existing file is never replaced.
#pragma once
#include "icons/icon_extractor.h"

namespace corvel::icons {

class Win32IconModuleLoader : public IconModuleLoader {
 public:
  std::unique_ptr<IconModule> Load(const std::wstring& path) override;
};

class Win32IconFiles : public IconFiles {
 public:
  bool Exists(const std::wstring& path) override;
  Created CreateNew(const std::wstring& path) override;
  bool Remove(const std::wstring& path) override;
};

// ExtractIconGroups on this system's files.
ExtractResult ExtractIconGroupsFromFile(const std::wstring& source, const IconProgress& progress = {});

}  // namespace corvel::icons
