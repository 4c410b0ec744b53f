// Corvel: program entry. Builds the ports once, creates every window in the
// start-up order and runs the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/about_window.h"
#include "win/codepage_win.h"
#include "app/ping_window.h"
#include "app/sysinfo_window.h"
#include "win/windows_version.h"
#include "app/tool_shells_window.h"
#include "calc/calc_window.h"
#include "cleaner/cloptions_window.h"
#include "info/wmi_win.h"
#include "win/dialogs_win.h"
#include "win/shell_win.h"

using namespace corvel;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  Win32Dialogs dialogs;
  Win32Shell shell;
  WindowsCodePage codePage;
  Win32Wmi wmi;

  TFormSysInfo main(dialogs, shell, codePage, wmi, ReportedWindowsVersion().major);
  main.Guarded([&] { main.Create(); });
  if (!main.hwnd()) return 1;
  dialogs.SetOwner(main.hwnd());
  shell.SetOwner(main.hwnd());

  // The main window comes first and is on the screen before the tool windows
  // are built, once each and in this order: nothing can open them before the
  // message loop runs, and a top-level window costs milliseconds under Wine.
  main.Show();
  UpdateWindow(main.hwnd());
  std::vector<std::unique_ptr<ToolShellWindow>> emptyWindows;
  auto empty = [&](const wchar_t* cls, const wchar_t* caption, int w, int h) {
    return [&emptyWindows, &dialogs, &main, cls, caption, w, h] {
      emptyWindows.push_back(std::make_unique<ToolShellWindow>(dialogs, cls, caption, w, h));
      emptyWindows.back()->Create(main.hwnd());
    };
  };
  TFormRech calc(dialogs, codePage);
  TFormClOptions clOptions(dialogs, codePage);
  TFormPing ping(dialogs);
  TAboutBox about(dialogs, shell);
  const std::function<void()> inOrder[] = {
      empty(L"TFormLog", L"Log", 684, 514),
      empty(L"TFormTransparent", L"", 200, 200),
      empty(L"TFormSelect", L"Screenshot", 300, 180),
      empty(L"TFormSelLang", L"Language", 240, 120),
      empty(L"TFormViewer", L"Clipboard", 684, 514),
      empty(L"TFormCheckUser", L"New AutoRun Entry", 300, 180),
      empty(L"TFormAlarm", L"Set alarm", 220, 120),
      empty(L"TFormIcons", L"Extract icons from file", 500, 360),
      empty(L"TFormApp", L"Start", 420, 160),
      [&] { calc.Create(main.hwnd()); },
      [&] { clOptions.Create(main.hwnd()); },
      empty(L"TFormLock", L"File info", 500, 345),
      empty(L"TFormRename", L"File", 421, 157),
      empty(L"TFormUListe", L"User list", 684, 284),
      empty(L"TFormDos", L"DOS prompt...", 420, 180),
      empty(L"TFormCleaner", L"Scourix", 600, 420),
      [&] { ping.Create(main.hwnd()); },
      [&] { about.Create(main.hwnd()); },
  };
  for (const auto& create : inOrder) create();
  calc.setApplicationHelpFile = [&main](const std::wstring& file) { main.SetHelpFile(file); };
  main.SetCalculator(&calc);
  clOptions.applicationHelpFile = [&main] { return main.HelpFile(); };
  main.SetPingWindow(&ping);
  main.SetAboutBox(&about);

  int code = app::RunMessageLoop();
  CoUninitialize();
  return code;
}
