// Layout tables and the controls every window shares. A window lists its
// controls once (kind, design name, caption, rectangle at 96 DPI, flags);
// creation, captions and tests read the same table. Rectangles and fonts are
// scaled to the window's DPI when the controls are built and again when the
// DPI changes.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <span>
#include <string>

#include "win/dpi.h"
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
  ToolBar,     // flat tool bar; the ToolButton and ToolSeparator rows after it are its buttons
  ToolButton,  // a button of the tool bar above: rect width and height are its size, image its picture
  ToolSeparator,  // a gap of the tool bar above: rect width is its width
  TabControl,  // page control; its pages fill its display area (Form::AddPage with its handle)
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
  kSorted = 1u << 8,      // list box, combo box: items kept in alphabetical order
  kHScroll = 1u << 9,     // memo: a horizontal scroll bar, lines not wrapped
  kNoBorder = 1u << 10,   // memo: no sunken edge
};

struct ControlSpec {
  Kind kind;
  const wchar_t* name;      // design name, e.g. L"SpeedButton41"
  const wchar_t* caption;   // design text (may be null)
  RECT rect;                // x, y, width, height (not right/bottom)
  unsigned flags = 0;
  const wchar_t* hint = nullptr;
  int image = -1;  // tool button: index in the tool bar's image list (-1: the caption shows instead)
};

// Pictures made for a DPI (a tool bar's image list at the size that DPI asks for).
using ImageListMaker = std::function<UniqueImageList(UINT dpi)>;

// What a created control remembers about itself (kept in its GWLP_USERDATA).
// A tool button has no window of its own: hwnd is its tool bar, id its command.
struct ControlInfo {
  Kind kind;
  std::wstring name;
  int id;
  HWND hwnd = nullptr;
  ControlSpec spec{};       // as the table gives it (96 DPI)
  std::wstring hint;        // tool button: its tooltip text
  UniqueIcon icon;          // Icon: the picture at the current DPI
  SIZE padding{};           // TabControl: tab padding at 96 DPI
  SIZE buttonSize{};        // ToolBar: its buttons' size at 96 DPI
  ImageListMaker makeImages;  // ToolBar: its pictures per DPI
  UniqueImageList images;     // ToolBar: the pictures at the current DPI
};

// The fonts of the design at a DPI, created once per process and DPI.
struct Fonts {
  static HFONT Get(const wchar_t* face, int height96, int weight, UINT dpi);
  static HFONT Arial8(UINT dpi = kDesignDpi);     // the windows' font (height -11 at 96 DPI)
  static HFONT Tahoma8(UINT dpi = kDesignDpi);    // value labels
  static HFONT Tahoma8Bold(UINT dpi = kDesignDpi);
};

// The controls of one window, by design name.
class Controls {
 public:
  // Creates every control of the table as a child of parent, scaled to dpi.
  void Create(HWND parent, std::span<const ControlSpec> table, UINT dpi = kDesignDpi);
  // Lays every control out again for another DPI: rectangles, fonts, pictures,
  // list columns, tool bars and tab padding.
  void Rescale(UINT dpi);
  UINT Dpi() const { return dpi_; }
  // The face of the controls' normal font (Arial unless set before Create).
  void SetFace(const wchar_t* face) { face_ = face; }
  HFONT NormalFont() const { return Fonts::Get(face_, -11, FW_NORMAL, dpi_); }

  HWND operator[](std::wstring_view name) const;  // throws when the name is unknown
  const ControlInfo& Info(std::wstring_view name) const;  // throws when the name is unknown
  const ControlInfo* Find(int id) const;
  bool Has(std::wstring_view name) const { return byName_.count(std::wstring(name)) != 0; }
  HWND Tooltips() const { return tooltips_; }  // null while no control has a hint
  // Sets or changes the hint of a control or tool button (a language switch).
  void SetHint(std::wstring_view name, const std::wstring& hint);
  std::wstring Hint(std::wstring_view name) const;  // the tooltip text, empty without one
  // Tab padding (at 96 DPI) of a TabControl, kept for every DPI.
  void SetTabPadding(std::wstring_view name, SIZE padding);
  // The pictures of a ToolBar, made now and again for every DPI.
  void SetToolImages(std::wstring_view name, ImageListMaker make);
  // Answers the notifications the controls need from their parent (tool
  // button tooltips); true when header was one of them.
  bool AnswerNotify(const NMHDR& header, LPARAM lp);

 private:
  ControlInfo& Mutable(std::wstring_view name);
  void CreateControl(HWND parent, ControlInfo& info);
  void AddToolButton(ControlInfo& info);
  void PlaceControl(ControlInfo& info, bool created = false);
  void AddHint(HWND parent, HWND control, const wchar_t* hint);
  HWND tooltips_ = nullptr;  // destroyed with its owner window
  std::deque<ControlInfo> infos_;  // stable addresses: controls point at them
  std::map<std::wstring, ControlInfo*, std::less<>> byName_;
  std::map<int, ControlInfo*> byId_;
  ControlInfo* lastToolBar_ = nullptr;
  const wchar_t* face_ = L"Arial";
  UINT dpi_ = kDesignDpi;
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

}  // namespace corvel
