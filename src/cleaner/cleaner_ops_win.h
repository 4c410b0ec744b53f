// The cleaner's operations on the system: the steps around the rule list,
// the running-process test, the version reader and delete-at-restart.
#pragma once
#include <windows.h>
#include <urlhist.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>

#include "cleaner/engine.h"

namespace corvel {

// Major * 65536 + minor of the file's version resource; 0 without one.
std::uint32_t GetFileVersionMS(const std::wstring& path);
// True when a running process's executable, or its file-name part, equals
// `name` without regard to case.
bool IsProcessRunning(const std::wstring& name);
// Asks for the file to be deleted at the next restart; true when asked.
bool ScheduleDeleteOnReboot(const std::wstring& path);

class Win32CleanerPlatform : public CleanerPlatform {
 public:
  // Creates the URL-history object; COM must be initialised on this thread.
  explicit Win32CleanerPlatform(HWND owner = nullptr);
  RecycleBinInfo QueryRecycleBin() override;
  void ClearInternetCache() override;
  void ClearUrlHistory() override;
  void EmptyRecycleBin() override;

 private:
  HWND owner_;
  Microsoft::WRL::ComPtr<IUrlHistoryStg2> history_;
};

}  // namespace corvel
