#include "restore/tessel_window.h"

namespace corvel {

namespace {
constexpr int kClientWidth = 260, kClientHeight = 220;
constexpr COLORREF kCream = RGB(255, 250, 235);  // top and bottom alike: a plain cream
}  // namespace

void TForm1::Create() {
  CreateForm(L"Manage system restore", kClientWidth, kClientHeight, nullptr,
             WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, kCream);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm1::FormCloseRequested() { DestroyWindow(hwnd()); }

LRESULT TForm1::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return Form::OnMessage(msg, wp, lp);
}

}  // namespace corvel
