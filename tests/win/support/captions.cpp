#include "win/support/captions.h"

#include "base/text.h"
#include "win/controls.h"
#include "win/dpi.h"
#include "win/handles.h"

namespace corvel::testing {

namespace {

BOOL CALLBACK Collect(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

// Room a kind of control leaves around its text, at dpi (theme margins, the
// check mark, the group frame).
SIZE Margins(Kind kind, UINT dpi) {
  switch (kind) {
    case Kind::Button: return {Scale(6, dpi), Scale(4, dpi)};
    case Kind::CheckBox:
    case Kind::Radio: return {Scale(17, dpi), 0};
    case Kind::GroupBox: return {Scale(16, dpi), 0};
    default: return {0, 0};
  }
}

}  // namespace

std::vector<std::string> CutCaptions(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
  std::vector<std::string> cut;
  for (HWND child : children) {
    const ControlInfo* info = InfoOf(child);
    if (!info) continue;
    const Kind kind = info->kind;
    if (kind != Kind::Caption && kind != Kind::Link && kind != Kind::Button && kind != Kind::CheckBox &&
        kind != Kind::Radio && kind != Kind::GroupBox)
      continue;
    const std::wstring text = GetText(child);
    if (text.empty()) continue;
    const WindowDc dc(child);
    const SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    RECT need{0, 0, 0, 0};
    const UINT prefix = (kind == Kind::Caption || kind == Kind::Link) ? DT_NOPREFIX : 0;
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_SINGLELINE | prefix);
    RECT has;
    GetClientRect(child, &has);
    const SIZE margin = Margins(kind, WindowDpi(child));
    const int width = has.right - margin.cx, height = has.bottom - margin.cy;
    if (kind == Kind::GroupBox ? need.right > width : need.right > width || need.bottom > height)
      cut.push_back(Narrow(info->name) + " \"" + Narrow(text) + "\": needs " + std::to_string(need.right) + " x " +
                    std::to_string(need.bottom) + ", has " + std::to_string(width) + " x " + std::to_string(height));
  }
  return cut;
}

}  // namespace corvel::testing
