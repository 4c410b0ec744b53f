// Corvel: program entry. Builds the ports once, creates every window in the
// start-up order and runs the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/about_window.h"
#include "app/sysinfo_window.h"
#include "app/system_readings.h"
#include "app/tool_shells_window.h"
#include "calc/calc_window.h"
#include "cleaner/cloptions_window.h"
#include "info/ping_window.h"
#include "info/wmi_win.h"
#include "tools/check_user_window.h"
#include "win/codepage_win.h"
#include "win/dialogs_win.h"
#include "win/shell_win.h"
#include "win/windows_version.h"

using namespace corvel;

namespace {

// The tool windows of the program, created once each at start-up, in the
// order of the members, and kept (hidden between showings) until the end.
class ToolWindows {
 public:
  ToolWindows(Dialogs& dialogs, Shell& shell, const CodePage& codePage, ApplicationHelp& help);
  // Creates every window, owned by the main window, each inside the main
  // window's handler guard: one that fails is reported and the rest go on.
  void Create(TFormSysInfo& main);
  // What the main window opens.
  SysInfoTools ForMainWindow();

 private:
  // In start-up order.
  ToolShellWindow log_, transparent_, select_, selLang_, viewer_;
  TFormCheckUser checkUser_;
  ToolShellWindow alarm_, icons_, app_;
  TFormRech calc_;
  TFormClOptions clOptions_;
  ToolShellWindow lock_, rename_, userList_, dos_, cleaner_;
  TFormPing ping_;
  TAboutBox about_;
};

ToolWindows::ToolWindows(Dialogs& dialogs, Shell& shell, const CodePage& codePage, ApplicationHelp& help)
    : log_(dialogs, L"TFormLog", L"Log", 684, 514),
      transparent_(dialogs, L"TFormTransparent", L"", 200, 200),
      select_(dialogs, L"TFormSelect", L"Screenshot", 300, 180),
      selLang_(dialogs, L"TFormSelLang", L"Language", 240, 120),
      viewer_(dialogs, L"TFormViewer", L"Clipboard", 684, 514),
      checkUser_(dialogs),
      alarm_(dialogs, L"TFormAlarm", L"Set alarm", 220, 120),
      icons_(dialogs, L"TFormIcons", L"Extract icons from file", 500, 360),
      app_(dialogs, L"TFormApp", L"Start", 420, 160),
      calc_(dialogs, codePage, help),
      clOptions_(dialogs, codePage, help),
      lock_(dialogs, L"TFormLock", L"File info", 500, 345),
      rename_(dialogs, L"TFormRename", L"File", 421, 157),
      userList_(dialogs, L"TFormUListe", L"User list", 684, 284),
      dos_(dialogs, L"TFormDos", L"DOS prompt...", 420, 180),
      cleaner_(dialogs, L"TFormCleaner", L"Scourix", 600, 420),
      ping_(dialogs),
      about_(dialogs, shell) {}

// Each window inside the main window's handler guard, in the order given.
template <class... Windows>
void CreateEach(TFormSysInfo& main, Windows&... windows) {
  (main.Guarded([&] { windows.Create(main.hwnd()); }), ...);
}

void ToolWindows::Create(TFormSysInfo& main) {
  CreateEach(main, log_, transparent_, select_, selLang_, viewer_, checkUser_, alarm_, icons_, app_, calc_, clOptions_,
             lock_, rename_, userList_, dos_, cleaner_, ping_, about_);
}

SysInfoTools ToolWindows::ForMainWindow() {
  SysInfoTools tools;
  // A window whose creation failed is not offered.
  if (about_.hwnd()) tools.about = &about_;
  if (calc_.hwnd()) tools.calc = &calc_;
  if (ping_.hwnd()) tools.ping = &ping_;
  if (checkUser_.hwnd()) tools.checkUser = &checkUser_;
  return tools;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  Win32Dialogs dialogs;
  Win32Shell shell;
  WindowsCodePage codePage;
  Win32Wmi wmi;
  SystemReadings system;

  TFormSysInfo main(system.With(dialogs, shell, codePage, wmi, ReportedWindowsVersion().major));
  main.Guarded([&] { main.Create(); });
  if (!main.hwnd()) return 1;
  dialogs.SetOwner(main.hwnd());
  shell.SetOwner(main.hwnd());

  // The main window comes first and is on the screen before the tool windows
  // are built: nothing can open them before the message loop runs, and a
  // top-level window costs milliseconds under Wine.
  main.Show();
  UpdateWindow(main.hwnd());
  ToolWindows tools(dialogs, shell, codePage, system.help);
  tools.Create(main);
  main.SetTools(tools.ForMainWindow());

  int code = app::RunMessageLoop();
  CoUninitialize();
  return code;
}
