// The Shell port: every start of a program, document, folder or address goes
// through ShellExecuteW here, so tests record what would have been started;
// and the operations built on it, with the verbs, show modes and parameter
// texts of the program's buttons. Portable.
#pragma once
#include <cstdint>
#include <string>

#include "base/dialogs.h"
#include "base/messages.h"

namespace corvel {

namespace sw {  // ShowWindow modes, with the system's values
constexpr int kHide = 0, kShowNormal = 1, kShow = 5;
}

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW(owner, verb, file, parameters, no working folder, show).
  // Returns the shell's instance value taken as unsigned (> 32 is success).
  virtual std::uintptr_t Execute(const std::wstring& verb, const std::wstring& file,
                                 const std::wstring& parameters, int show) = 0;
};

// Starting programs, documents, folders, addresses and Control Panel applets.
class ShellOps {
 public:
  // windowsMajor: the major version the system reported at program start.
  ShellOps(Shell& shell, Dialogs& dialogs, const MessageTable& messages, unsigned windowsMajor)
      : shell_(shell), dialogs_(dialogs), messages_(messages), windowsMajor_(windowsMajor) {}

  // "open", SW_SHOWNORMAL; true when the shell's value is above 32. Shows nothing.
  bool ShellOpen(const std::wstring& file, const std::wstring& parameters);
  // "open", no parameters, SW_SHOW; failures are silent.
  void ShellOpenUrl(const std::wstring& address);
  // "runas" (asks for elevation) from Windows 6 on, else "open"; SW_SHOWNORMAL.
  bool RunElevated(const std::wstring& file, const std::wstring& parameters);
  // Explorer with the folder tree, through RunElevated; MsgExplorerFailed in an error box on failure.
  void OpenInExplorer(const std::wstring& path);
  // rundll32.exe "shell32.dll,Control_RunDLL <applet>"; an empty applet opens the Control Panel.
  void RunControlPanel(const std::wstring& applet);

  static const wchar_t* ElevationVerb(unsigned windowsMajor);
  // " /e,  \"<path>\"": a blank, "/e,", two blanks, the quoted path.
  static std::wstring ExplorerParameters(const std::wstring& path);

 private:
  Shell& shell_;
  Dialogs& dialogs_;
  const MessageTable& messages_;
  unsigned windowsMajor_;
};

}  // namespace corvel
