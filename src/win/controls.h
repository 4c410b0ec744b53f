// Layout tables and the controls every window shares. A window lists its
// controls once (kind, design name, caption, rectangle at 96 DPI, flags);
// creation, captions and tests read the same table.
#pragma once
#include <windows.h>

#include <deque>
#include <map>
#include <span>
#include <string>

#include "win/handles.h"

namespace corvel {

enum class Kind {
  Caption,     // plain label
  Value,       // maroon Tahoma value label
  Link,        // label with the hand cursor, clickable
  Edit,
  Password,
  Memo,
  Button,
  CheckBox,
  GroupBox,
  ListBox,
  ComboBox,
  ListView,    // report list view
  Progress,
  StatusYes,   // 16-px status image: green tick
  StatusNo,    // 16-px status image: red cross
  StatusUnknown,  // 16-px status image: grey question mark
  Icon,        // the program icon
  Radio,       // radio button; the first of a group carries kGroupStart
};

enum ControlFlag : unsigned {
  kHidden = 1u << 0,
  kCentered = 1u << 1,
  kBold = 1u << 2,
  kReadOnly = 1u << 3,
  kRight = 1u << 4,
  kDisabled = 1u << 5,
  kGroupStart = 1u << 6,  // first control of a radio group
  kOwnerDraw = 1u << 7,   // list box: fixed-height items drawn by the form (Form::OnDrawItem)
};

struct ControlSpec {
  Kind kind;
  const wchar_t* name;      // design name, e.g. L"SpeedButton41"
  const wchar_t* caption;   // design text (may be null)
  RECT rect;                // x, y, width, height (not right/bottom)
  unsigned flags = 0;
  const wchar_t* hint = nullptr;
};

// What a created control remembers about itself (kept in its GWLP_USERDATA).
struct ControlInfo {
  Kind kind;
  std::wstring name;
  int id;
  HWND hwnd = nullptr;
};

// The fonts of the design, created once per process.
struct Fonts {
  static HFONT Arial8();     // the windows' font (height -11)
  static HFONT Tahoma8();    // value labels
  static HFONT Tahoma8Bold();
};

// The controls of one window, by design name.
class Controls {
 public:
  // Creates every control of the table as a child of parent.
  void Create(HWND parent, std::span<const ControlSpec> table);
  HWND operator[](std::wstring_view name) const;  // throws when the name is unknown
  const ControlInfo* Find(int id) const;
  bool Has(std::wstring_view name) const { return byName_.count(std::wstring(name)) != 0; }
  HWND Tooltips() const { return tooltips_; }  // null while no control has a hint
  // Sets or changes the hint of a control (a language switch).
  void SetHint(std::wstring_view name, const std::wstring& hint);
  std::wstring Hint(std::wstring_view name) const;  // the tooltip text, empty without one

 private:
  void AddHint(HWND parent, HWND control, const wchar_t* hint);
  HWND tooltips_ = nullptr;  // destroyed with its owner window
  std::deque<ControlInfo> infos_;  // stable addresses: controls point at them
  std::map<std::wstring, ControlInfo*, std::less<>> byName_;
  std::map<int, ControlInfo*> byId_;
  int nextId_ = 1000;
};

const ControlInfo* InfoOf(HWND control);

// Shared painting of the controls on a page or form background: text colours,
// transparent labels over the background brush, status images, hand cursor.
// Returns true when the message was handled (result in *result).
bool HandleControlMessage(HWND parent, HBRUSH background, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

// Control helpers.
std::wstring GetText(HWND control);
void SetText(HWND control, const std::wstring& text);
void SetVisible(HWND control, bool visible);
bool IsVisible(HWND control);
void SetEnabled(HWND control, bool enabled);
bool IsChecked(HWND checkBox);
void SetChecked(HWND checkBox, bool checked);

// Drop-down list items.
void ComboClear(HWND combo);
void ComboAdd(HWND combo, const std::wstring& text);
int ComboCount(HWND combo);
std::wstring ComboItem(HWND combo, int index);
void ComboSelect(HWND combo, int index);  // -1 selects nothing
int ComboSelected(HWND combo);            // -1 when nothing is selected

}  // namespace corvel
