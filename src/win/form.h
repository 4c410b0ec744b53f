// Form: a top-level window of the design with its controls, event bindings,
// key preview, modal showing and DPI scaling; Page: one gradient page of a
// tab control.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "win/control_wrappers.h"
#include "win/controls.h"
#include "win/window.h"

namespace corvel {

// The background brush of a page or form: a vertical gradient from cream at
// the top to a page colour at the bottom in 200 steps, or a solid colour.
// Built on first use for the window's height, so hidden pages cost nothing
// at start-up.
class Background {
 public:
  explicit Background(COLORREF bottom) : bottom_(bottom) {}
  HBRUSH Brush(HWND hwnd);
  // Paints the background and the controls standing on it (transparent
  // labels, status images, link cursor); true when msg was handled.
  bool Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

 private:
  COLORREF bottom_;  // CLR_NONE: the button face colour
  UniqueBrush brush_;
};

class Form;

// A page is built (window and controls) the first time it is shown or one of
// its controls is asked for, so pages the user never opens cost nothing.
class Page : public Window {
 public:
  // A page over rect (x, y, width, height at 96 DPI in the form), or, with
  // tabs, over the display area of that tab control.
  Page(Form& form, std::wstring designName, COLORREF bottomColour, HWND parent, const RECT& rect,
       std::span<const ControlSpec> table, HWND tabs = nullptr);
  const std::wstring& name() const { return name_; }
  bool Declares(std::wstring_view control) const;
  HWND Control(std::wstring_view control);  // builds the page when needed
  const ControlInfo& Info(std::wstring_view control);  // builds the page when needed
  void Build();
  bool Built() const { return hwnd() != nullptr; }
  // Follows the form to another DPI: its place and, when built, its controls.
  void Rescale(UINT dpi);
  Controls& controls() { return controls_; }

  // What is set on a control before the page is built: kept here and applied
  // when it is, so start-up can fill pages the user may never open.
  struct Pending {
    std::optional<std::wstring> text;
    std::optional<bool> visible, checked, enabled;
  };
  Pending& PendingFor(std::wstring_view control);
  // The text the control will have when built: the pending one or the design's.
  std::wstring PendingText(std::wstring_view control) const;
  bool PendingChecked(std::wstring_view control) const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  RECT Area() const;  // left, top, right, bottom in the form at the page's DPI

  Form& form_;
  std::wstring name_;
  HWND parent_;
  RECT rect_;
  HWND tabs_;
  std::span<const ControlSpec> table_;
  Controls controls_;
  Background background_;
  std::map<std::wstring, Pending, std::less<>> pending_;
};

// A timer of a form, started and stopped by id; its tick runs the bound handler.
struct TimerSpec {
  UINT_PTR id;
  UINT intervalMs;
};

class Form : public Window {
 public:
  Form(Dialogs& dialogs, const wchar_t* className) : Window(dialogs), className_(className) {}

  // Creates the window hidden, with the given client size (pixels at 96 DPI,
  // scaled to the window's DPI), centred on the desktop.
  void CreateForm(const std::wstring& caption, int clientWidth, int clientHeight, HWND owner,
                  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, COLORREF gradient = CLR_NONE);
  // Sizes the frame around the design's client area again (after a menu bar was added).
  void FitFrameToClient();
  // The face of the form's font and its controls' (Arial unless set before AddControls).
  void SetFontFace(const wchar_t* face);
  void AddControls(std::span<const ControlSpec> table) { controls_.Create(hwnd(), table, Dpi()); }
  HWND Ctl(std::wstring_view name) const;  // a control of the form or of any of its pages
  // A tool button of a tool bar of the form or of one of its pages.
  struct ToolButtonRef {
    ToolBar bar;
    int command;
  };
  ToolButtonRef ToolButton(std::wstring_view name) const;
  // The pictures of a tool bar, made now and again whenever the DPI changes.
  void SetToolImages(std::wstring_view toolBar, ImageListMaker make);

  // SetText(Ctl(name), ...) and the like, without building the control's
  // page when it is not built yet: the page takes the values when it is.
  // SetCtlEnabled and SetCtlVisible also take tool buttons.
  void SetCtlText(std::wstring_view name, const std::wstring& text);
  std::wstring CtlText(std::wstring_view name) const;
  void SetCtlVisible(std::wstring_view name, bool visible);
  void SetCtlChecked(std::wstring_view name, bool checked);
  bool CtlChecked(std::wstring_view name) const;
  void SetCtlEnabled(std::wstring_view name, bool enabled);

  // Event bindings. A handler for a control of a page not built yet waits
  // for the page; binding again replaces the handler.
  // A click of a button, check box, link label or tool button.
  void OnClick(std::wstring_view name, std::function<void()> handler);
  // The user's choice in a drop-down list or list box (CBN_SELCHANGE, LBN_SELCHANGE).
  void OnSelect(std::wstring_view name, std::function<void()> handler);
  // A change of an edit's text (EN_CHANGE), by the user or by code.
  void OnChange(std::wstring_view name, std::function<void()> handler);
  // A double click on an item of a list box (LBN_DBLCLK) or list view (NM_DBLCLK).
  void OnDoubleClick(std::wstring_view name, std::function<void()> handler);
  // A notification (WM_NOTIFY) with the given code from a control.
  void OnNotify(std::wstring_view name, UINT code, std::function<void(const NMHDR&)> handler);
  // A command without a control: a menu item or the dialog keys' IDOK/IDCANCEL.
  void OnCommand(UINT id, std::function<void()> handler);
  // The drawing of an owner-drawn control's items (WM_DRAWITEM).
  void OnDrawItem(std::wstring_view name, std::function<void(const DRAWITEMSTRUCT&)> draw);
  // Files dropped on the form, as full paths of any length; the form accepts
  // dropped files from the moment this is bound.
  void OnDropFiles(std::function<void(const std::vector<std::wstring>& paths)> handler);
  // A window timer: its tick (WM_TIMER with its id) runs the handler. Start
  // and stop it by id; a test ticks it by sending WM_TIMER.
  void OnTimer(UINT_PTR id, std::function<void()> tick);
  void StartTimer(const TimerSpec& timer);  // (re)starts it with its interval
  void StopTimer(UINT_PTR id);
  bool TimerRunning(UINT_PTR id) const;

  void CentreOnOwner();         // in the middle of its owner window, if it has one
  void Show();                  // shows it (the show hook runs first)
  int ShowModal();              // shows it modally; returns the modal result
  void EndModal(int result);    // ends the modal showing with a result
  bool InModal() const { return modal_; }

  // Key preview: the message loop offers every key press inside the form here first.
  bool keyPreview = false;
  virtual bool PreviewKeyDown(WPARAM /*vk*/) { return false; }
  // The same for characters (WM_CHAR); true swallows the character.
  virtual bool PreviewChar(WPARAM /*ch*/) { return false; }

  // A page over the rectangle (96 DPI) of the form's client area, built on first use.
  Page& AddPage(std::wstring designName, COLORREF bottom, const RECT& rect, std::span<const ControlSpec> table);
  // A page over the display area of a tab control (see AddTabControl).
  Page& AddPage(std::wstring designName, COLORREF bottom, HWND tabs, std::span<const ControlSpec> table);
  // A tab control of the form with one tab per caption and the tab padding
  // (96 DPI); its pages follow it when the DPI changes.
  HWND AddTabControl(const wchar_t* name, const RECT& rect, std::span<const std::wstring> captions, SIZE padding = {});

  // Lays the form out for another DPI: frame (the suggested rectangle when
  // given), fonts, controls, pages. WM_DPICHANGED does this.
  void ApplyDpi(UINT dpi, const RECT* suggested = nullptr);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void FormShow() {}
  // WM_CLOSE: tool forms hide (and end a modal showing); the main form overrides.
  virtual void FormCloseRequested() { EndModal(IDCANCEL); }
  // WM_NOTIFY that no OnNotify binding took.
  virtual void Notify(const NMHDR& /*header*/) {}
  Controls& controls() { return controls_; }
  const Controls& controls() const { return controls_; }
  std::map<std::wstring, std::unique_ptr<Page>, std::less<>>& pages() { return pages_; }
  const std::map<std::wstring, std::unique_ptr<Page>, std::less<>>& pages() const { return pages_; }

 private:
  friend class Page;
  // A control as its messages name it: the window and the id it sends with
  // (a tool button's is its command).
  struct Target {
    HWND window;
    int id;
    Kind kind;
  };
  using CommandKey = std::tuple<HWND, int, int>;  // control, id, notification code
  using NotifyKey = std::pair<HWND, UINT>;        // control, code
  bool DispatchCommand(WPARAM wp, LPARAM lp);
  bool DispatchNotify(const NMHDR& header, LPARAM lp);
  void DispatchDrop(HDROP drop);
  void BindCommand(std::wstring_view name, int code, std::function<void()> handler);
  // Binds at once, or, for a control of a page not built yet, when that page
  // is built: binding a handler must not build a page the user never opens.
  void Bind(std::wstring_view name, std::function<void(const Target&)> binder);
  void BindPending(Page& page);
  Page* UnbuiltPageOf(std::wstring_view name) const;  // null for a form control or a built page's
  const ControlInfo& Locate(std::wstring_view name) const;  // builds the control's page when needed
  static Target TargetOf(const ControlInfo& info);

  const wchar_t* className_;
  const wchar_t* face_ = L"Arial";
  SIZE client_{};  // the client area at 96 DPI
  Controls controls_;
  std::map<std::wstring, std::unique_ptr<Page>, std::less<>> pages_;
  std::map<CommandKey, std::function<void()>> commands_;
  std::map<NotifyKey, std::function<void(const NMHDR&)>> notifies_;
  std::map<HWND, std::function<void(const DRAWITEMSTRUCT&)>> drawers_;
  std::map<UINT_PTR, std::function<void()>> timers_;
  std::set<UINT_PTR> running_;
  std::function<void(const std::vector<std::wstring>&)> dropped_;
  std::vector<std::pair<std::wstring, std::function<void(const Target&)>>> pendingBinds_;
  Background background_{CLR_NONE};
  bool modal_ = false;
  int modalResult_ = 0;
};

// The paths of a drop (WM_DROPFILES), each of any length.
std::vector<std::wstring> DroppedPaths(HDROP drop);

// The application's message loop with key preview and dialog navigation.
namespace app {
int RunMessageLoop();
// Lets pending window messages run once (the run-time's ProcessMessages).
void ProcessMessages();
// Handles one message from a loop; false when it was WM_QUIT.
bool DispatchOne(MSG& msg);
}  // namespace app

}  // namespace corvel
