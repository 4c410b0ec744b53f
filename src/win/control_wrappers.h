// Typed views of the common controls: each wraps the HWND of one control and
// owns nothing, so it is made where it is used, e.g.
//   ListBox(Ctl(L"ListBox1")).Add(line);
// Index arguments are 0-based; -1 means "none" where a selection is meant.
// An index that names no item throws Error with the run-time's list-index text.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace corvel {

class ControlWindow {
 public:
  explicit ControlWindow(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }

 protected:
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageW(hwnd_, msg, wp, lp); }

 private:
  HWND hwnd_;
};

// The run-time's error for an index outside a list: "Listenindex überschreitet das Maximum (<index>)".
[[noreturn]] void ThrowListIndexError(int index);

class ListBox : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;
  int Add(const std::wstring& text);  // at the end, or in its place in a sorted list; its index
  int Insert(int index, const std::wstring& text);  // before index, -1 at the end, sorted or not
  void Delete(int index);
  void Clear();
  int Count() const;
  std::wstring Item(int index) const;
  std::vector<std::wstring> Items() const;
  int Selected() const;    // -1 when nothing is selected
  void Select(int index);  // -1 selects nothing
  LPARAM Data(int index) const;  // the value kept with an item
  void SetData(int index, LPARAM data);
  void SetItemHeight(int pixels);  // of an owner-drawn list's items
};

class Combo : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;
  int Add(const std::wstring& text);
  void Clear();
  int Count() const;
  std::wstring Item(int index) const;
  int Selected() const;    // -1 when nothing is selected
  void Select(int index);  // -1 selects nothing; the selection handler does not run
};

// A report list view. Column widths are given in pixels at 96 DPI and scaled
// to the control's DPI (and again when it changes).
class ListView : public ControlWindow {
 public:
  struct Column {
    const wchar_t* caption;
    int width;  // at 96 DPI
  };
  using ControlWindow::ControlWindow;
  void SetColumns(std::span<const Column> columns);  // replaces every column
  int ColumnCount() const;
  std::wstring ColumnCaption(int column) const;
  void SetColumnCaption(int column, const std::wstring& caption);  // a language switch
  int ColumnWidth(int column) const;  // in pixels as shown
  // A row at the end with the cells from the first column on; image is its
  // picture in the small image list (-1: none). Returns its index.
  int AddRow(std::span<const std::wstring> cells, int image = -1);
  int AddRow(std::initializer_list<std::wstring> cells, int image = -1) {
    return AddRow(std::span<const std::wstring>(cells.begin(), cells.size()), image);
  }
  void SetCell(int row, int column, const std::wstring& text);
  std::wstring Cell(int row, int column) const;
  void DeleteRow(int row);
  void Clear();
  int Count() const;
  int Selected() const;  // -1 when no row is selected
  void Select(int row);  // -1 selects nothing; the row is scrolled into view
  // The small pictures of the rows; the list does not own them (its window keeps a UniqueImageList).
  void SetSmallImages(HIMAGELIST images);
};

class ProgressBar : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;
  void SetRange(int minimum, int maximum);
  int Minimum() const;
  int Maximum() const;
  void SetPosition(int position);
  int Position() const;
  void SetStep(int step);
  void StepIt();  // one step on, wrapping to the minimum past the maximum
  void SetBarColour(COLORREF colour);  // shown only where visual styles are off for the bar
};

// A tool bar's buttons by command id (Form::ToolButton gives the id of a design name).
class ToolBar : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;
  int ButtonCount() const;  // separators included
  void SetButtonEnabled(int command, bool enabled);
  bool ButtonEnabled(int command) const;
  void SetButtonVisible(int command, bool visible);
  bool ButtonVisible(int command) const;
  std::wstring ButtonText(int command) const;  // the caption shown without a picture
  RECT ButtonRect(int command) const;  // in the tool bar's client coordinates
  // What a click on an enabled button does: the parent gets its WM_COMMAND.
  // False (and nothing sent) for a disabled or hidden button.
  bool Click(int command) const;
};

// A tab control's tabs. The toolkit lays its pages over DisplayArea().
class TabControl : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;
  int Add(const std::wstring& caption);
  int Count() const;
  std::wstring Caption(int index) const;
  void SetCaption(int index, const std::wstring& caption);
  int Selected() const;
  void Select(int index);  // from code: the parent is not notified
  // Where pages go: the area inside the tabs, in the parent's client coordinates.
  RECT DisplayArea() const;
};

}  // namespace corvel
