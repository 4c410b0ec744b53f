#include "win/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <tuple>

#include "base/errors.h"
#include "win/window.h"

namespace corvel {

namespace {

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
      return {WC_EDITW,
              common | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN | ro |
                  ((s.flags & kHScroll) ? WS_HSCROLL | ES_AUTOHSCROLL : 0),
              (s.flags & kNoBorder) ? 0u : static_cast<DWORD>(WS_EX_CLIENTEDGE)};
    case Kind::Button: return {WC_BUTTONW, common | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::CheckBox: return {WC_BUTTONW, common | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case Kind::GroupBox: return {WC_BUTTONW, common | BS_GROUPBOX, 0};
    case Kind::ListBox:
      return {WC_LISTBOXW,
              common | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  ((s.flags & kOwnerDraw) ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : 0) | ((s.flags & kSorted) ? LBS_SORT : 0),
              WS_EX_CLIENTEDGE};
    case Kind::ComboBox:
      return {WC_COMBOBOXW, common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | ((s.flags & kSorted) ? CBS_SORT : 0), 0};
    case Kind::ListView:
      // The window owns the image lists it sets (UniqueImageList), not the control.
      return {WC_LISTVIEWW, common | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
              WS_EX_CLIENTEDGE};
    case Kind::Progress: return {PROGRESS_CLASSW, common, 0};
    case Kind::StatusYes:
    case Kind::StatusNo:
    case Kind::StatusUnknown: return {WC_STATICW, common | SS_OWNERDRAW, 0};
    case Kind::Icon: return {WC_STATICW, common | SS_ICON | SS_REALSIZEIMAGE, 0};
    case Kind::Radio:
      return {WC_BUTTONW, common | BS_AUTORADIOBUTTON | ((s.flags & kGroupStart) ? WS_GROUP | WS_TABSTOP : 0), 0};
    case Kind::ToolBar:
      return {TOOLBARCLASSNAMEW,
              common | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
    case Kind::TabControl: return {WC_TABCONTROLW, common | WS_CLIPSIBLINGS | WS_TABSTOP, 0};
    case Kind::ToolButton:
    case Kind::ToolSeparator: break;  // buttons of a tool bar, no windows
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
  const UniqueBrush fill(CreateSolidBrush(colour));
  const SelectedObject brush(dc, fill.get());
  {
    const SelectedObject noPen(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, c.left, c.top, c.right + 1, c.bottom + 1);
  }
  // Drawn at the size the control has at its DPI: 2 pixels of pen at 16.
  const UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, std::max(1, (size + 4) / 8), RGB(255, 255, 255)));
  const SelectedObject whitePen(dc, pen.get());
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
}

}  // namespace

HFONT Fonts::Get(const wchar_t* face, int height96, int weight, UINT dpi) {
  // Kept for the program's life: every window of a DPI shares them.
  static std::map<std::tuple<std::wstring, int, int, UINT>, UniqueFont> fonts;
  auto& font = fonts[{face, height96, weight, dpi}];
  if (!font) {
    LOGFONTW lf{};
    lf.lfHeight = Scale(height96, dpi);
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    font.reset(CreateFontIndirectW(&lf));
  }
  return font.get();
}
HFONT Fonts::Arial8(UINT dpi) { return Get(L"Arial", -11, FW_NORMAL, dpi); }
HFONT Fonts::Tahoma8(UINT dpi) { return Get(L"Tahoma", -11, FW_NORMAL, dpi); }
HFONT Fonts::Tahoma8Bold(UINT dpi) { return Get(L"Tahoma", -11, FW_BOLD, dpi); }

namespace {

HFONT FontFor(const ControlInfo& info, HFONT normal, UINT dpi) {
  if (info.kind != Kind::Value) return normal;
  return (info.spec.flags & kBold) ? Fonts::Tahoma8Bold(dpi) : Fonts::Tahoma8(dpi);
}

void SetFont(HWND control, HFONT font, bool redraw = true) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

}  // namespace

void Controls::Create(HWND parent, std::span<const ControlSpec> table, UINT dpi) {
  dpi_ = dpi;
  for (const ControlSpec& s : table) {
    ControlInfo& info = infos_.emplace_back(ControlInfo{s.kind, s.name, nextId_++});
    info.spec = s;
    if (s.kind == Kind::ToolButton || s.kind == Kind::ToolSeparator) {
      AddToolButton(info);
    } else {
      CreateControl(parent, info);
      if (s.hint) AddHint(parent, info.hwnd, s.hint);
    }
    byName_[info.name] = &info;
    byId_[info.id] = &info;
  }
}

void Controls::CreateControl(HWND parent, ControlInfo& info) {
  const ControlSpec& s = info.spec;
  const ClassAndStyle cs = StyleFor(s);
  const RECT r = ScaleLayout(s.rect, dpi_);
  info.hwnd = CreateWindowExW(cs.exStyle, cs.cls, s.caption ? s.caption : L"", cs.style, r.left, r.top, r.right,
                              r.bottom + (s.kind == Kind::ComboBox ? Scale(200, dpi_) : 0), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(info.id)), GetModuleHandleW(nullptr), nullptr);
  if (!info.hwnd) throw Error(L"Steuerelement konnte nicht erzeugt werden: " + info.name);
  SetWindowLongPtrW(info.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&info));
  if (s.kind == Kind::ListView)
    SendMessageW(info.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  if (s.kind == Kind::ToolBar) {
    SendMessageW(info.hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Buttons with a picture show only the picture; the others their caption.
    SendMessageW(info.hwnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    lastToolBar_ = &info;
  }
  PlaceControl(info, true);  // created in its place: fonts and pictures only
}

void Controls::AddToolButton(ControlInfo& info) {
  if (!lastToolBar_) throw Error(L"Werkzeugschaltfl\u00e4che ohne Werkzeugleiste: " + info.name);
  const ControlSpec& s = info.spec;
  info.hwnd = lastToolBar_->hwnd;
  info.hint = s.hint ? s.hint : L"";
  TBBUTTON b{};
  b.idCommand = info.id;
  b.fsState = static_cast<BYTE>(((s.flags & kDisabled) ? 0 : TBSTATE_ENABLED) | ((s.flags & kHidden) ? TBSTATE_HIDDEN : 0));
  if (s.kind == Kind::ToolSeparator) {
    b.fsStyle = BTNS_SEP;
    b.iBitmap = Scale(s.rect.right, dpi_);
  } else {
    b.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (s.image < 0 ? BTNS_SHOWTEXT : 0));
    b.iBitmap = s.image >= 0 ? s.image : I_IMAGENONE;
    b.iString = reinterpret_cast<INT_PTR>(s.caption ? s.caption : L"");
  }
  if (!SendMessageW(info.hwnd, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b)))
    throw Error(L"Steuerelement konnte nicht erzeugt werden: " + info.name);
  // The bar's buttons share one size: the first button's.
  if (s.kind == Kind::ToolButton && !lastToolBar_->buttonSize.cx) {
    lastToolBar_->buttonSize = {s.rect.right, s.rect.bottom};
    PlaceControl(*lastToolBar_);
  }
}

// Puts a control where the table says at the current DPI, with its font and
// pictures; one just created stands there already and is not drawn yet.
void Controls::PlaceControl(ControlInfo& info, bool created) {
  const ControlSpec& s = info.spec;
  RECT r = ScaleLayout(s.rect, dpi_);
  if (s.kind == Kind::ComboBox) r.bottom += Scale(200, dpi_);  // room for the drop-down list
  SetFont(info.hwnd, FontFor(info, NormalFont(), dpi_), !created);
  switch (s.kind) {
    case Kind::Icon: {  // loaded at the size the DPI asks for, not stretched
      UniqueIcon icon(static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, r.right, r.bottom, 0)));
      SendMessageW(info.hwnd, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
      info.icon = std::move(icon);  // the one shown before goes now
      break;
    }
    case Kind::ToolBar:
      if (info.makeImages) {
        UniqueImageList images = info.makeImages(dpi_);
        SendMessageW(info.hwnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
        info.images = std::move(images);
      }
      if (info.buttonSize.cx)
        SendMessageW(info.hwnd, TB_SETBUTTONSIZE, 0,
                     MAKELPARAM(Scale(info.buttonSize.cx, dpi_), Scale(info.buttonSize.cy, dpi_)));
      break;
    case Kind::TabControl:  // the control's own padding unless the window sets one
      if (info.padding.cx || info.padding.cy)
        SendMessageW(info.hwnd, TCM_SETPADDING, 0, MAKELPARAM(Scale(info.padding.cx, dpi_), Scale(info.padding.cy, dpi_)));
      break;
    default:
      break;
  }
  if (!created) SetWindowPos(info.hwnd, nullptr, r.left, r.top, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Controls::Rescale(UINT dpi) {
  const UINT old = dpi_;
  if (dpi == old) return;
  dpi_ = dpi;
  for (ControlInfo& info : infos_) {
    const ControlSpec& s = info.spec;
    if (s.kind == Kind::ToolSeparator) {  // the buttons take their size from their bar
      TBBUTTONINFOW b{sizeof b};
      b.dwMask = TBIF_SIZE;
      b.cx = static_cast<WORD>(Scale(s.rect.right, dpi));
      SendMessageW(info.hwnd, TB_SETBUTTONINFOW, info.id, reinterpret_cast<LPARAM>(&b));
    }
    if (s.kind == Kind::ToolButton || s.kind == Kind::ToolSeparator) continue;
    if (s.kind == Kind::ListView) {
      const HWND header = reinterpret_cast<HWND>(SendMessageW(info.hwnd, LVM_GETHEADER, 0, 0));
      const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
      for (int c = 0; c < columns; ++c) {
        const int width = static_cast<int>(SendMessageW(info.hwnd, LVM_GETCOLUMNWIDTH, c, 0));
        SendMessageW(info.hwnd, LVM_SETCOLUMNWIDTH, c, MulDiv(width, static_cast<int>(dpi), static_cast<int>(old)));
      }
    }
    if (s.kind == Kind::ListBox && (s.flags & kOwnerDraw)) {
      const int height = static_cast<int>(SendMessageW(info.hwnd, LB_GETITEMHEIGHT, 0, 0));
      if (height > 0)
        SendMessageW(info.hwnd, LB_SETITEMHEIGHT, 0, MulDiv(height, static_cast<int>(dpi), static_cast<int>(old)));
    }
    PlaceControl(info);
  }
  // Tool bars take their new button sizes only once told to lay out again.
  for (ControlInfo& info : infos_)
    if (info.spec.kind == Kind::ToolBar) SendMessageW(info.hwnd, TB_AUTOSIZE, 0, 0);
  if (tooltips_) SetFont(tooltips_, NormalFont());
}

ControlInfo& Controls::Mutable(std::wstring_view name) {
  auto it = byName_.find(name);
  if (it == byName_.end()) throw Error(L"Komponente nicht gefunden: " + std::wstring(name));
  return *it->second;
}

const ControlInfo& Controls::Info(std::wstring_view name) const {
  auto it = byName_.find(name);
  if (it == byName_.end()) throw Error(L"Komponente nicht gefunden: " + std::wstring(name));
  return *it->second;
}

void Controls::SetTabPadding(std::wstring_view name, SIZE padding) {
  ControlInfo& info = Mutable(name);
  info.padding = padding;
  PlaceControl(info);
}

void Controls::SetToolImages(std::wstring_view name, ImageListMaker make) {
  ControlInfo& info = Mutable(name);
  if (info.kind != Kind::ToolBar) throw Error(L"Keine Werkzeugleiste: " + info.name);
  info.makeImages = std::move(make);
  PlaceControl(info);
  SendMessageW(info.hwnd, TB_AUTOSIZE, 0, 0);
}

bool Controls::AnswerNotify(const NMHDR& header, LPARAM lp) {
  if (header.code != TBN_GETINFOTIPW) return false;
  auto& tip = *reinterpret_cast<NMTBGETINFOTIPW*>(lp);
  const ControlInfo* button = Find(tip.iItem);
  if (!button || button->hwnd != header.hwndFrom || button->kind != Kind::ToolButton) return false;
  if (tip.pszText && tip.cchTextMax > 0) lstrcpynW(tip.pszText, button->hint.c_str(), tip.cchTextMax);
  return true;
}

void Controls::SetHint(std::wstring_view name, const std::wstring& hint) {
  ControlInfo& info = Mutable(name);
  if (info.kind == Kind::ToolButton) {
    info.hint = hint;
    return;
  }
  HWND control = info.hwnd;
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
  const ControlInfo& info = Info(name);
  if (info.kind == Kind::ToolButton) return info.hint;
  if (!tooltips_) return {};
  HWND control = info.hwnd;
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
    SetFont(tooltips_, NormalFont());
  }
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(hint);
  SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

HWND Controls::operator[](std::wstring_view name) const { return Info(name).hwnd; }

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

}  // namespace corvel
