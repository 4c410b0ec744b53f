// The Control page's system shortcuts: what each of its launchers starts,
// as one table, and the Folders page's rows. Portable.
#pragma once
#include <optional>
#include <string>

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/shell.h"

namespace corvel {

enum class LaunchKind {
  Applet,      // RunControlPanel(parameters)
  Open,        // ShellOpen(file, parameters); the result is not examined
  DirectX,     // ShellOpen; an error raised on the way is reported
  Explorer,    // ShellOpen of explorer.exe; a refused start is reported
  OpenVerb,    // the "open" verb with SW_SHOW; not examined
  SystemInfo,  // the default verb on control.exe of the system folder, SW_SHOW
  Elevated,    // RunElevated; not examined
};

struct Launcher {
  const wchar_t* button;   // design name
  const wchar_t* caption;  // with its trailing blanks
  const wchar_t* hint;
  const wchar_t* handler;
  LaunchKind kind;
  const wchar_t* file;
  const wchar_t* parameters;
};

inline constexpr int kLauncherCount = 21;
extern const Launcher kLaunchers[kLauncherCount];

// Starts what the launcher names. systemFolder: where control.exe lives (the
// design's fixed "C:\Windows\system32" fails on a Windows installed elsewhere).
void RunLauncher(const Launcher& launcher, Shell& shell, ShellOps& ops, Dialogs& dialogs,
                 const MessageTable& messages, const std::wstring& systemFolder);

// One row of the Folders page: caption label, link label and what it shows.
enum class FolderSource { Special, System, Temp };
struct FolderRow {
  const wchar_t* captionLabel;
  const wchar_t* caption;
  const wchar_t* link;
  FolderSource source;
  int csidl;  // for Special
};
inline constexpr int kFolderRowCount = 12;
extern const FolderRow kFolderRows[kFolderRowCount];

// The Temp row: TEMP when both TMP and TEMP are set, else the current folder.
std::wstring TempFolderShown(const std::optional<std::wstring>& tmp, const std::optional<std::wstring>& temp,
                             const std::wstring& currentFolder);

}  // namespace corvel
