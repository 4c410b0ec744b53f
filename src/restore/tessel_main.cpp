// Tessel: the restore-point tool. For now only its window: a fixed, centred
// dialog-like frame that ends the program when closed.
#include <windows.h>

#include "resource.h"
#include "win/dpi.h"

namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr wchar_t kCaption[] = L"Manage system restore";
constexpr int kClientWidth = 260, kClientHeight = 220;
constexpr COLORREF kCream = RGB(255, 251, 240);

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  HBRUSH background = CreateSolidBrush(kCream);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_CORVEL));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_CORVEL), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return 1;

  // Dialog border: caption and system menu, no sizing, no minimise/maximise.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
  // The manifest makes the program DPI-aware: the design's size is at 96 DPI.
  const UINT dpi = corvel::SystemDpi();
  const SIZE frame = corvel::FrameSize({corvel::Scale(kClientWidth, dpi), corvel::Scale(kClientHeight, dpi)}, style,
                                       exStyle, false, dpi);
  const int width = frame.cx, height = frame.cy;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;

  HWND hwnd = CreateWindowExW(exStyle, kClassName, kCaption, style, x, y, width, height, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(background);
  return static_cast<int>(msg.wParam);
}
