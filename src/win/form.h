// Form: a top-level window of the design with its controls, click bindings,
// key preview and modal showing; Page: one gradient page of a tab control.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
  Page(Form& form, std::wstring designName, COLORREF bottomColour, HWND parent, const RECT& rect,
       std::span<const ControlSpec> table);
  const std::wstring& name() const { return name_; }
  bool Declares(std::wstring_view control) const;
  HWND Control(std::wstring_view control);  // builds the page when needed
  void Build();
  bool Built() const { return hwnd() != nullptr; }

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
  Form& form_;
  std::wstring name_;
  HWND parent_;
  RECT rect_;
  std::span<const ControlSpec> table_;
  Controls controls_;
  Background background_;
  std::map<std::wstring, Pending, std::less<>> pending_;
};

class Form : public Window {
 public:
  Form(Dialogs& dialogs, const wchar_t* className) : Window(dialogs), className_(className) {}

  // Creates the window hidden, with the given client size, centred on the desktop.
  void CreateForm(const std::wstring& caption, int clientWidth, int clientHeight, HWND owner,
                  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, COLORREF gradient = CLR_NONE);
  void AddControls(std::span<const ControlSpec> table) { controls_.Create(hwnd(), table); }
  HWND Ctl(std::wstring_view name) const;  // a control of the form or of any of its pages

  // SetText(Ctl(name), ...) and the like, without building the control's
  // page when it is not built yet: the page takes the values when it is.
  void SetCtlText(std::wstring_view name, const std::wstring& text);
  std::wstring CtlText(std::wstring_view name) const;
  void SetCtlVisible(std::wstring_view name, bool visible);
  void SetCtlChecked(std::wstring_view name, bool checked);
  bool CtlChecked(std::wstring_view name) const;
  void SetCtlEnabled(std::wstring_view name, bool enabled);

  // Binds a click (button, check box, link label) of a control to a handler.
  void OnClick(std::wstring_view name, std::function<void()> handler);
  // Binds the user's choice in a drop-down list (CBN_SELCHANGE) to a handler.
  void OnSelect(std::wstring_view name, std::function<void()> handler);
  // Binds the drawing of an owner-drawn control's items (WM_DRAWITEM).
  void OnDrawItem(std::wstring_view name, std::function<void(const DRAWITEMSTRUCT&)> draw);

  void Show();                  // shows it (the show hook runs first)
  int ShowModal();              // shows it modally; returns the modal result
  void EndModal(int result);    // ends the modal showing with a result
  bool InModal() const { return modal_; }

  // Key preview: the message loop offers every key press inside the form here first.
  bool keyPreview = false;
  virtual bool PreviewKeyDown(WPARAM /*vk*/) { return false; }
  // The same for characters (WM_CHAR); true swallows the character.
  virtual bool PreviewChar(WPARAM /*ch*/) { return false; }

  // A page over the rectangle of the form's client area, built on first use.
  Page& AddPage(std::wstring designName, COLORREF bottom, const RECT& rect, std::span<const ControlSpec> table);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void FormShow() {}
  // WM_CLOSE: tool forms hide (and end a modal showing); the main form overrides.
  virtual void FormCloseRequested() { EndModal(IDCANCEL); }
  virtual void Notify(const NMHDR& /*header*/) {}
  Controls& controls() { return controls_; }
  const Controls& controls() const { return controls_; }
  std::map<std::wstring, std::unique_ptr<Page>, std::less<>>& pages() { return pages_; }
  const std::map<std::wstring, std::unique_ptr<Page>, std::less<>>& pages() const { return pages_; }

 private:
  friend class Page;
  bool DispatchCommand(WPARAM wp, LPARAM lp);
  // Binds at once, or, for a control of a page not built yet, when that page
  // is built: binding a handler must not build a page the user never opens.
  void Bind(std::wstring_view name, std::function<void(HWND)> binder);
  void BindPending(Page& page);
  Page* UnbuiltPageOf(std::wstring_view name) const;  // null for a form control or a built page's

  const wchar_t* className_;
  Controls controls_;
  std::map<std::wstring, std::unique_ptr<Page>, std::less<>> pages_;
  std::map<HWND, std::function<void()>> clicks_;
  std::map<HWND, std::function<void()>> selects_;
  std::map<HWND, std::function<void(const DRAWITEMSTRUCT&)>> drawers_;
  std::vector<std::pair<std::wstring, std::function<void(HWND)>>> pendingBinds_;
  Background background_{CLR_NONE};
  bool modal_ = false;
  int modalResult_ = 0;
};

// The application's message loop with key preview and dialog navigation.
namespace app {
int RunMessageLoop();
// Lets pending window messages run once (the run-time's ProcessMessages).
void ProcessMessages();
// Handles one message from a loop; false when it was WM_QUIT.
bool DispatchOne(MSG& msg);
}  // namespace app

}  // namespace corvel
