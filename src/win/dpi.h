// Dots per inch: layout tables are written in pixels at 96 DPI and scaled to
// the DPI of the window they are built in. The per-window and per-system
// queries exist from Windows 10 1607 on and are looked up at run time; older
// systems (Windows 7) answer with the screen's LOGPIXELSX.
#pragma once
#include <windows.h>

namespace corvel {

constexpr UINT kDesignDpi = 96;

// value (pixels at 96 DPI) at dpi, rounded half away from zero.
inline int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), kDesignDpi); }
// A layout rectangle (x, y, width, height at 96 DPI) at dpi, each figure scaled.
RECT ScaleLayout(const RECT& layout, UINT dpi);

UINT SystemDpi();
// The DPI the window is shown at: its monitor's for a per-monitor aware
// program, the system's otherwise.
UINT WindowDpi(HWND window);
// The frame rectangle (origin 0, 0) around a client area of the given size in
// pixels, at dpi: AdjustWindowRectExForDpi, or AdjustWindowRectEx without it.
SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi);

}  // namespace corvel
