#include "win/dpi.h"

#include "win/handles.h"

namespace corvel {

namespace {

template <class Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");  // loaded by every windowed program
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

RECT ScaleLayout(const RECT& layout, UINT dpi) {
  return {Scale(layout.left, dpi), Scale(layout.top, dpi), Scale(layout.right, dpi), Scale(layout.bottom, dpi)};
}

UINT SystemDpi() {
  static const auto forSystem = User32Function<DpiForSystemFn>("GetDpiForSystem");
  if (forSystem) return forSystem();
  const WindowDc screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT WindowDpi(HWND window) {
  static const auto forWindow = User32Function<DpiForWindowFn>("GetDpiForWindow");
  if (forWindow && window) {
    const UINT dpi = forWindow(window);
    if (dpi) return dpi;
  }
  return SystemDpi();
}

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi) {
  static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  RECT r{0, 0, client.cx, client.cy};
  if (!adjustForDpi || !adjustForDpi(&r, style, menu, exStyle, dpi)) {
    r = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, style, menu, exStyle);
  }
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace corvel
