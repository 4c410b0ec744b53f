#include "win/controls.h"

#include <commctrl.h>

#include "base/errors.h"
#include "win/window.h"

namespace corvel {

namespace {

HFONT MakeFont(const wchar_t* face, int height, int weight) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

struct ClassAndStyle {
  const wchar_t* cls;
  DWORD style;
  DWORD exStyle;
};

ClassAndStyle StyleFor(const ControlSpec& s) {
  DWORD common = WS_CHILD | ((s.flags & kHidden) ? 0 : WS_VISIBLE) | ((s.flags & kDisabled) ? WS_DISABLED : 0);
  DWORD align = (s.flags & kCentered) ? ES_CENTER : (s.flags & kRight) ? ES_RIGHT : ES_LEFT;
  DWORD ro = (s.flags & kReadOnly) ? ES_READONLY : 0;
  switch (s.kind) {
    case Kind::Caption:
    case Kind::Value:
      return {WC_STATICW, common | SS_NOPREFIX | ((s.flags & kCentered) ? SS_CENTER : (s.flags & kRight) ? SS_RIGHT : SS_LEFT), 0};
    case Kind::Link: return {WC_STATICW, common | SS_NOPREFIX | SS_NOTIFY, 0};
    case Kind::Edit: return {WC_EDITW, common | WS_TABSTOP | ES_AUTOHSCROLL | align | ro, WS_EX_CLIENTEDGE};
    case Kind::Password: return {WC_EDITW, common | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD | align, WS_EX_CLIENTEDGE};
    case Kind::Memo:
      return {WC_EDITW, common | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN | ro, WS_EX_CLIENTEDGE};
    case Kind::Button: return {WC_BUTTONW, common | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::CheckBox: return {WC_BUTTONW, common | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case Kind::GroupBox: return {WC_BUTTONW, common | BS_GROUPBOX, 0};
    case Kind::ListBox:
      return {WC_LISTBOXW,
              common | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  ((s.flags & kOwnerDraw) ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : 0),
              WS_EX_CLIENTEDGE};
    case Kind::ComboBox: return {WC_COMBOBOXW, common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case Kind::ListView:
      return {WC_LISTVIEWW, common | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, WS_EX_CLIENTEDGE};
    case Kind::Progress: return {PROGRESS_CLASSW, common, 0};
    case Kind::StatusYes:
    case Kind::StatusNo:
    case Kind::StatusUnknown: return {WC_STATICW, common | SS_OWNERDRAW, 0};
    case Kind::Icon: return {WC_STATICW, common | SS_ICON | SS_REALSIZEIMAGE, 0};
    case Kind::Radio:
      return {WC_BUTTONW, common | BS_AUTORADIOBUTTON | ((s.flags & kGroupStart) ? WS_GROUP | WS_TABSTOP : 0), 0};
  }
  return {WC_STATICW, common, 0};
}

void DrawStatusImage(const DRAWITEMSTRUCT& di, Kind kind) {
  const bool yes = kind == Kind::StatusYes;
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  int size = std::min(r.right - r.left, r.bottom - r.top);
  RECT c{r.left, r.top, r.left + size, r.top + size};
  const COLORREF colour = yes ? RGB(30, 160, 60) : kind == Kind::StatusNo ? RGB(200, 40, 40) : RGB(140, 140, 140);
  UniqueBrush fill(CreateSolidBrush(colour));
  HGDIOBJ oldBrush = SelectObject(dc, fill.get());
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, c.left, c.top, c.right + 1, c.bottom + 1);
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
  SelectObject(dc, pen.get());
  int u = size / 4;
  if (kind == Kind::StatusUnknown) {
    // A question mark: an open arc over a short stem and a dot.
    Arc(dc, c.left + u, c.top + u - 1, c.right - u, c.top + 2 * u + 1, c.left + u, c.top + 2 * u, c.right - u, c.top + 2 * u);
    MoveToEx(dc, c.left + 2 * u, c.top + 2 * u, nullptr);
    LineTo(dc, c.left + 2 * u, c.top + 3 * u - 1);
    MoveToEx(dc, c.left + 2 * u, c.bottom - u + 1, nullptr);
    LineTo(dc, c.left + 2 * u, c.bottom - u + 2);
  } else if (yes) {
    POINT tick[] = {{c.left + u, c.top + 2 * u}, {c.left + 2 * u - 1, c.top + 3 * u}, {c.left + 3 * u + 1, c.top + u}};
    Polyline(dc, tick, 3);
  } else {
    MoveToEx(dc, c.left + u, c.top + u, nullptr);
    LineTo(dc, c.right - u, c.bottom - u);
    MoveToEx(dc, c.right - u, c.top + u, nullptr);
    LineTo(dc, c.left + u, c.bottom - u);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
}

}  // namespace

HFONT Fonts::Arial8() {
  static HFONT f = MakeFont(L"Arial", -11, FW_NORMAL);
  return f;
}
HFONT Fonts::Tahoma8() {
  static HFONT f = MakeFont(L"Tahoma", -11, FW_NORMAL);
  return f;
}
HFONT Fonts::Tahoma8Bold() {
  static HFONT f = MakeFont(L"Tahoma", -11, FW_BOLD);
  return f;
}

void Controls::Create(HWND parent, std::span<const ControlSpec> table) {
  for (const ControlSpec& s : table) {
    ControlInfo& info = infos_.emplace_back(ControlInfo{s.kind, s.name, nextId_++});
    ClassAndStyle cs = StyleFor(s);
    int h = s.rect.bottom;
    if (s.kind == Kind::ComboBox) h += 200;  // room for the drop-down list
    info.hwnd = CreateWindowExW(cs.exStyle, cs.cls, s.caption ? s.caption : L"", cs.style, s.rect.left, s.rect.top,
                                s.rect.right, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(info.id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!info.hwnd) throw Error(L"Steuerelement konnte nicht erzeugt werden: " + info.name);
    SetWindowLongPtrW(info.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&info));
    HFONT font = Fonts::Arial8();
    if (s.kind == Kind::Value) font = (s.flags & kBold) ? Fonts::Tahoma8Bold() : Fonts::Tahoma8();
    SendMessageW(info.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (s.kind == Kind::Icon) {
      auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                s.rect.right, s.rect.bottom, LR_SHARED));
      SendMessageW(info.hwnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    if (s.kind == Kind::ListView)
      SendMessageW(info.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    byName_[info.name] = &info;
    byId_[info.id] = &info;
    if (s.hint) AddHint(parent, info.hwnd, s.hint);
  }
}

void Controls::SetHint(std::wstring_view name, const std::wstring& hint) {
  HWND control = (*this)[name];
  if (Hint(name).empty()) {  // no tooltip yet
    AddHint(GetParent(control), control, hint.c_str());
    return;
  }
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(hint.c_str());
  SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring Controls::Hint(std::wstring_view name) const {
  if (!tooltips_) return {};
  HWND control = (*this)[name];
  wchar_t text[256] = L"";
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = text;
  SendMessageW(tooltips_, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
  return text;
}

void Controls::AddHint(HWND parent, HWND control, const wchar_t* hint) {
  if (!tooltips_) {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                                0, 0, GetAncestor(parent, GA_ROOT), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(Fonts::Arial8()), FALSE);
  }
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(hint);
  SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

HWND Controls::operator[](std::wstring_view name) const {
  auto it = byName_.find(name);
  if (it == byName_.end()) throw Error(L"Komponente nicht gefunden: " + std::wstring(name));
  return it->second->hwnd;
}

const ControlInfo* Controls::Find(int id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : it->second;
}

const ControlInfo* InfoOf(HWND control) {
  // Our controls are system classes whose user data we set at creation; our
  // own window classes keep their Window there instead.
  if (!control || Window::FromHwnd(control)) return nullptr;
  auto* info = reinterpret_cast<const ControlInfo*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  return (info && info->hwnd == control) ? info : nullptr;
}

bool HandleControlMessage(HWND parent, HBRUSH background, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HWND child = reinterpret_cast<HWND>(lp);
      const ControlInfo* info = InfoOf(child);
      if (info && (info->kind == Kind::Edit || info->kind == Kind::Memo || info->kind == Kind::Password)) return false;
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      if (info && info->kind == Kind::Value) SetTextColor(dc, RGB(128, 0, 0));
      if (info && info->kind == Kind::Link) SetTextColor(dc, RGB(0, 0, 200));
      POINT origin{0, 0};
      MapWindowPoints(child, parent, &origin, 1);
      SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
      *result = reinterpret_cast<LRESULT>(background);
      return true;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      const ControlInfo* info = InfoOf(di->hwndItem);
      if (!info || (info->kind != Kind::StatusYes && info->kind != Kind::StatusNo && info->kind != Kind::StatusUnknown))
        return false;
      DrawStatusImage(*di, info->kind);
      *result = TRUE;
      return true;
    }
    case WM_SETCURSOR: {
      const ControlInfo* info = InfoOf(reinterpret_cast<HWND>(wp));
      if (!info || info->kind != Kind::Link) return false;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      *result = TRUE;
      return true;
    }
  }
  return false;
}

std::wstring GetText(HWND control) {
  int n = GetWindowTextLengthW(control);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(control, s.data(), n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

void SetText(HWND control, const std::wstring& text) { SetWindowTextW(control, text.c_str()); }

void SetVisible(HWND control, bool visible) { ShowWindow(control, visible ? SW_SHOW : SW_HIDE); }

bool IsVisible(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

void SetEnabled(HWND control, bool enabled) { EnableWindow(control, enabled ? TRUE : FALSE); }

bool IsChecked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND checkBox, bool checked) {
  SendMessageW(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ComboClear(HWND combo) { SendMessageW(combo, CB_RESETCONTENT, 0, 0); }

void ComboAdd(HWND combo, const std::wstring& text) {
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ComboCount(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); }

std::wstring ComboItem(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void ComboSelect(HWND combo, int index) { SendMessageW(combo, CB_SETCURSEL, index, 0); }

int ComboSelected(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

}  // namespace corvel
