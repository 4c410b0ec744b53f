#include "win/control_wrappers.h"

#include "base/errors.h"
#include "base/text.h"
#include "win/dpi.h"
#include "win/window.h"

namespace corvel {

namespace {

// The text of an item whose length message answers first (LB_, CB_ pairs).
std::wstring ItemText(HWND control, UINT lengthMsg, UINT textMsg, int index, LRESULT error) {
  const LRESULT length = SendMessageW(control, lengthMsg, index, 0);
  if (length == error || length < 0) ThrowListIndexError(index);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(control, textMsg, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

// The DPI the control is laid out for: its window's, as the toolkit keeps it.
UINT ControlDpi(HWND control) {
  for (HWND w = GetParent(control); w; w = GetParent(w))
    if (const Window* window = Window::FromHwnd(w)) return window->Dpi();
  return WindowDpi(control);
}

}  // namespace

void ThrowListIndexError(int index) {
  throw Error(L"Listenindex \u00fcberschreitet das Maximum (" + IntToStr(index) + L")");
}

// ---- ListBox ----

int ListBox::Add(const std::wstring& text) {
  const LRESULT at = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) throw Error(L"Zeile kann nicht eingef\u00fcgt werden");
  return static_cast<int>(at);
}

int ListBox::Insert(int index, const std::wstring& text) {
  if (index < -1 || index > Count()) ThrowListIndexError(index);
  const LRESULT at = Send(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) throw Error(L"Zeile kann nicht eingef\u00fcgt werden");
  return static_cast<int>(at);
}

void ListBox::Delete(int index) {
  if (Send(LB_DELETESTRING, index) == LB_ERR) ThrowListIndexError(index);
}

void ListBox::Clear() { Send(LB_RESETCONTENT); }

int ListBox::Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }

std::wstring ListBox::Item(int index) const { return ItemText(hwnd(), LB_GETTEXTLEN, LB_GETTEXT, index, LB_ERR); }

std::vector<std::wstring> ListBox::Items() const {
  std::vector<std::wstring> items;
  const int n = Count();
  items.reserve(static_cast<std::size_t>(n > 0 ? n : 0));
  for (int i = 0; i < n; ++i) items.push_back(Item(i));
  return items;
}

int ListBox::Selected() const { return static_cast<int>(Send(LB_GETCURSEL)); }

void ListBox::Select(int index) { Send(LB_SETCURSEL, index); }

LPARAM ListBox::Data(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return Send(LB_GETITEMDATA, index);
}

void ListBox::SetData(int index, LPARAM data) {
  if (Send(LB_SETITEMDATA, index, data) == LB_ERR) ThrowListIndexError(index);
}

void ListBox::SetItemHeight(int pixels) { Send(LB_SETITEMHEIGHT, 0, pixels); }

// ---- Combo ----

int Combo::Add(const std::wstring& text) {
  const LRESULT at = Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) throw Error(L"Zeile kann nicht eingef\u00fcgt werden");
  return static_cast<int>(at);
}

void Combo::Clear() { Send(CB_RESETCONTENT); }

int Combo::Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }

std::wstring Combo::Item(int index) const { return ItemText(hwnd(), CB_GETLBTEXTLEN, CB_GETLBTEXT, index, CB_ERR); }

int Combo::Selected() const { return static_cast<int>(Send(CB_GETCURSEL)); }

void Combo::Select(int index) { Send(CB_SETCURSEL, index); }

// ---- ListView ----

void ListView::SetColumns(std::span<const Column> columns) {
  while (Send(LVM_DELETECOLUMN, 0)) {
  }
  const UINT dpi = ControlDpi(hwnd());
  for (std::size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(columns[i].caption ? columns[i].caption : L"");
    column.cx = Scale(columns[i].width, dpi);
    column.iSubItem = static_cast<int>(i);
    if (Send(LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column)) < 0)
      throw Error(L"Spalte kann nicht eingef\u00fcgt werden");
  }
}

int ListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring ListView::ColumnCaption(int column) const {
  wchar_t text[260] = L"";
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = text;
  c.cchTextMax = 260;
  if (!Send(LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&c))) ThrowListIndexError(column);
  return c.pszText ? c.pszText : L"";
}

void ListView::SetColumnCaption(int column, const std::wstring& caption) {
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = const_cast<wchar_t*>(caption.c_str());
  if (!Send(LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&c))) ThrowListIndexError(column);
}

int ListView::ColumnWidth(int column) const {
  if (column < 0 || column >= ColumnCount()) ThrowListIndexError(column);
  return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, column));
}

int ListView::AddRow(std::span<const std::wstring> cells, int image) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
  item.iItem = Count();
  item.pszText = const_cast<wchar_t*>(cells.empty() ? L"" : cells[0].c_str());
  item.iImage = image;
  const LRESULT row = Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (row < 0) throw Error(L"Zeile kann nicht eingef\u00fcgt werden");
  for (std::size_t c = 1; c < cells.size(); ++c) SetCell(static_cast<int>(row), static_cast<int>(c), cells[c]);
  return static_cast<int>(row);
}

void ListView::SetCell(int row, int column, const std::wstring& text) {
  if (row < 0 || row >= Count()) ThrowListIndexError(row);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  if (!Send(LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item))) ThrowListIndexError(column);
}

std::wstring ListView::Cell(int row, int column) const {
  if (row < 0 || row >= Count()) ThrowListIndexError(row);
  // The control copies at most the buffer's size: grow until the text fits.
  for (std::size_t size = 256;; size *= 2) {
    std::wstring text(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(size);
    const auto got = static_cast<std::size_t>(Send(LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (got + 1 < size || size >= (1u << 20)) {
      text.resize(got < size ? got : size - 1);
      return text;
    }
  }
}

void ListView::DeleteRow(int row) {
  if (!Send(LVM_DELETEITEM, row)) ThrowListIndexError(row);
}

void ListView::Clear() { Send(LVM_DELETEALLITEMS); }

int ListView::Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int ListView::Selected() const { return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); }

void ListView::Select(int row) {
  LVITEMW off{};
  off.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&off));
  if (row < 0) return;
  if (row >= Count()) ThrowListIndexError(row);
  LVITEMW on{};
  on.state = on.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&on));
  Send(LVM_ENSUREVISIBLE, row, FALSE);
}

void ListView::SetSmallImages(HIMAGELIST images) { Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)); }

// ---- ProgressBar ----

void ProgressBar::SetRange(int minimum, int maximum) { Send(PBM_SETRANGE32, minimum, maximum); }

int ProgressBar::Minimum() const { return static_cast<int>(Send(PBM_GETRANGE, TRUE)); }

int ProgressBar::Maximum() const { return static_cast<int>(Send(PBM_GETRANGE, FALSE)); }

void ProgressBar::SetPosition(int position) { Send(PBM_SETPOS, position); }

int ProgressBar::Position() const { return static_cast<int>(Send(PBM_GETPOS)); }

void ProgressBar::SetStep(int step) { Send(PBM_SETSTEP, step); }

void ProgressBar::StepIt() { Send(PBM_STEPIT); }

void ProgressBar::SetBarColour(COLORREF colour) { Send(PBM_SETBARCOLOR, 0, colour); }

// ---- ToolBar ----

namespace {

BYTE ButtonState(HWND bar, int command) {
  const LRESULT state = SendMessageW(bar, TB_GETSTATE, command, 0);
  if (state == -1) ThrowListIndexError(command);
  return static_cast<BYTE>(state);
}

}  // namespace

int ToolBar::ButtonCount() const { return static_cast<int>(Send(TB_BUTTONCOUNT)); }

void ToolBar::SetButtonEnabled(int command, bool enabled) {
  ButtonState(hwnd(), command);
  Send(TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBar::ButtonEnabled(int command) const { return (ButtonState(hwnd(), command) & TBSTATE_ENABLED) != 0; }

void ToolBar::SetButtonVisible(int command, bool visible) {
  ButtonState(hwnd(), command);
  Send(TB_HIDEBUTTON, command, MAKELPARAM(visible ? FALSE : TRUE, 0));
}

bool ToolBar::ButtonVisible(int command) const { return (ButtonState(hwnd(), command) & TBSTATE_HIDDEN) == 0; }

std::wstring ToolBar::ButtonText(int command) const {
  ButtonState(hwnd(), command);
  const LRESULT length = Send(TB_GETBUTTONTEXTW, command, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  Send(TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

RECT ToolBar::ButtonRect(int command) const {
  ButtonState(hwnd(), command);
  RECT r{};
  Send(TB_GETRECT, command, reinterpret_cast<LPARAM>(&r));
  return r;
}

bool ToolBar::Click(int command) const {
  const BYTE state = ButtonState(hwnd(), command);
  if (!(state & TBSTATE_ENABLED) || (state & TBSTATE_HIDDEN)) return false;
  SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd()));
  return true;
}

// ---- TabControl ----

int TabControl::Add(const std::wstring& caption) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  const LRESULT at = Send(TCM_INSERTITEMW, Count(), reinterpret_cast<LPARAM>(&item));
  if (at < 0) throw Error(L"Registerkarte kann nicht eingef\u00fcgt werden");
  return static_cast<int>(at);
}

int TabControl::Count() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }

std::wstring TabControl::Caption(int index) const {
  wchar_t text[260] = L"";
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 260;
  if (!Send(TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) ThrowListIndexError(index);
  return item.pszText ? item.pszText : L"";
}

void TabControl::SetCaption(int index, const std::wstring& caption) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  if (!Send(TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item))) ThrowListIndexError(index);
}

int TabControl::Selected() const { return static_cast<int>(Send(TCM_GETCURSEL)); }

void TabControl::Select(int index) { Send(TCM_SETCURSEL, index); }

RECT TabControl::DisplayArea() const {
  RECT area{};
  GetClientRect(hwnd(), &area);
  Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(hwnd(), GetParent(hwnd()), reinterpret_cast<POINT*>(&area), 2);
  return area;
}

}  // namespace corvel
