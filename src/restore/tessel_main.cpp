// Tessel: the restore-point tool. For now only its window, which ends the
// program when closed.
#include <windows.h>
#include <commctrl.h>

#include "restore/tessel_window.h"
#include "win/dialogs_win.h"

using namespace corvel;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  Win32Dialogs dialogs;
  TForm1 form(dialogs);
  form.Guarded([&] { form.Create(); });
  if (!form.hwnd()) return 1;
  dialogs.SetOwner(form.hwnd());
  form.Show();
  UpdateWindow(form.hwnd());
  return app::RunMessageLoop();
}
