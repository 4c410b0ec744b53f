#include "win/form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/errors.h"

namespace corvel {

namespace {
constexpr COLORREF kCream = RGB(255, 250, 235);
constexpr int kGradientSteps = 200;

}  // namespace

bool Background::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_SIZE:
      brush_.reset();
      return false;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {  // themed controls ask their parent to paint behind them
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT r;
      GetClientRect(hwnd, &r);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      FillRect(dc, &r, Brush(hwnd));
      *result = 1;
      return true;
    }
  }
  return HandleControlMessage(hwnd, Brush(hwnd), msg, wp, lp, result);
}

HBRUSH Background::Brush(HWND hwnd) {
  if (brush_) return brush_.get();
  if (bottom_ == CLR_NONE) {
    brush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    return brush_.get();
  }
  RECT r;
  GetClientRect(hwnd, &r);
  const int height = std::max<int>(r.bottom, 1), width = 8;  // the brush repeats sideways
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) {
    brush_.reset(CreateSolidBrush(bottom_));
    return brush_.get();
  }
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    const int step = y * kGradientSteps / height;
    auto mix = [&](int a, int b) { return a + (b - a) * step / (kGradientSteps - 1); };
    const std::uint32_t c = (mix(GetRValue(kCream), GetRValue(bottom_)) << 16) |
                            (mix(GetGValue(kCream), GetGValue(bottom_)) << 8) | mix(GetBValue(kCream), GetBValue(bottom_));
    std::fill_n(pixels + y * width, width, c);
  }
  brush_.reset(CreatePatternBrush(bitmap.get()));  // the brush keeps its own copy
  return brush_.get();
}

// ---- Page ----

Page::Page(Form& form, std::wstring designName, COLORREF bottomColour, HWND parent, const RECT& rect,
           std::span<const ControlSpec> table)
    : Window(form.dialogs()), form_(form), name_(std::move(designName)), parent_(parent), rect_(rect), table_(table),
      background_(bottomColour) {}

bool Page::Declares(std::wstring_view control) const {
  for (const ControlSpec& s : table_)
    if (control == s.name) return true;
  return false;
}

HWND Page::Control(std::wstring_view control) {
  Build();
  return controls_[control];
}

void Page::Build() {
  if (Built()) return;
  CreateNative({L"CorvelPage", name_, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, rect_, parent_});
  controls_.Create(hwnd(), table_);
  for (const auto& [name, state] : std::exchange(pending_, {})) {
    HWND control = controls_[name];
    if (state.text) SetText(control, *state.text);
    if (state.visible) SetVisible(control, *state.visible);
    if (state.checked) SetChecked(control, *state.checked);
    if (state.enabled) SetEnabled(control, *state.enabled);
  }
  form_.BindPending(*this);
}

Page::Pending& Page::PendingFor(std::wstring_view control) {
  auto it = pending_.find(control);
  if (it == pending_.end()) it = pending_.emplace(std::wstring(control), Pending{}).first;
  return it->second;
}

std::wstring Page::PendingText(std::wstring_view control) const {
  const auto it = pending_.find(control);
  if (it != pending_.end() && it->second.text) return *it->second.text;
  for (const ControlSpec& s : table_)
    if (control == s.name) return s.caption ? s.caption : L"";
  return {};
}

bool Page::PendingChecked(std::wstring_view control) const {
  const auto it = pending_.find(control);
  return it != pending_.end() && it->second.checked.value_or(false);
}

LRESULT Page::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (background_.Handle(hwnd(), msg, wp, lp, &result)) return result;
  // The controls' notifications are the form's business.
  if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_DRAWITEM) return form_.OnMessage(msg, wp, lp);
  return Default(msg, wp, lp);
}

// ---- Form ----

void Form::CreateForm(const std::wstring& caption, int clientWidth, int clientHeight, HWND owner, DWORD style,
                      COLORREF gradient) {
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  CreateNative({className_, caption, style, WS_EX_CONTROLPARENT, RECT{x, y, x + w, y + h}, owner, 0, icon});
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Fonts::Arial8()), FALSE);
  background_ = Background(gradient);
}

Page& Form::AddPage(std::wstring designName, COLORREF bottom, const RECT& rect, std::span<const ControlSpec> table) {
  auto page = std::make_unique<Page>(*this, designName, bottom, hwnd(), rect, table);
  Page& ref = *page;
  pages_[std::move(designName)] = std::move(page);
  return ref;
}

HWND Form::Ctl(std::wstring_view name) const {
  if (controls_.Has(name)) return controls_[name];
  for (const auto& [_, page] : pages_)
    if (page->Declares(name)) return page->Control(name);
  throw Error(L"Komponente nicht gefunden: " + std::wstring(name));
}

Page* Form::UnbuiltPageOf(std::wstring_view name) const {
  if (controls_.Has(name)) return nullptr;
  for (const auto& [_, page] : pages_)
    if (page->Declares(name)) return page->Built() ? nullptr : page.get();
  return nullptr;
}

void Form::SetCtlText(std::wstring_view name, const std::wstring& text) {
  if (Page* page = UnbuiltPageOf(name))
    page->PendingFor(name).text = text;
  else
    SetText(Ctl(name), text);
}

std::wstring Form::CtlText(std::wstring_view name) const {
  if (const Page* page = UnbuiltPageOf(name)) return page->PendingText(name);
  return GetText(Ctl(name));
}

void Form::SetCtlVisible(std::wstring_view name, bool visible) {
  if (Page* page = UnbuiltPageOf(name))
    page->PendingFor(name).visible = visible;
  else
    SetVisible(Ctl(name), visible);
}

void Form::SetCtlChecked(std::wstring_view name, bool checked) {
  if (Page* page = UnbuiltPageOf(name))
    page->PendingFor(name).checked = checked;
  else
    SetChecked(Ctl(name), checked);
}

bool Form::CtlChecked(std::wstring_view name) const {
  if (const Page* page = UnbuiltPageOf(name)) return page->PendingChecked(name);
  return IsChecked(Ctl(name));
}

void Form::SetCtlEnabled(std::wstring_view name, bool enabled) {
  if (Page* page = UnbuiltPageOf(name))
    page->PendingFor(name).enabled = enabled;
  else
    SetEnabled(Ctl(name), enabled);
}

void Form::Bind(std::wstring_view name, std::function<void(HWND)> binder) {
  if (UnbuiltPageOf(name)) {
    pendingBinds_.emplace_back(std::wstring(name), std::move(binder));
    return;
  }
  binder(Ctl(name));
}

void Form::BindPending(Page& page) {
  // Taken out first: a binder may ask for controls of other pages.
  std::vector<std::pair<std::wstring, std::function<void(HWND)>>> now;
  std::erase_if(pendingBinds_, [&](auto& entry) {
    if (!page.Declares(entry.first)) return false;
    now.push_back(std::move(entry));
    return true;
  });
  for (auto& [name, binder] : now) binder(page.Control(name));
}

void Form::OnClick(std::wstring_view name, std::function<void()> handler) {
  Bind(name, [this, handler = std::move(handler)](HWND control) { clicks_[control] = handler; });
}

void Form::OnSelect(std::wstring_view name, std::function<void()> handler) {
  Bind(name, [this, handler = std::move(handler)](HWND control) { selects_[control] = handler; });
}

void Form::OnDrawItem(std::wstring_view name, std::function<void(const DRAWITEMSTRUCT&)> draw) {
  Bind(name, [this, draw = std::move(draw)](HWND control) { drawers_[control] = draw; });
}

bool Form::DispatchCommand(WPARAM wp, LPARAM lp) {
  HWND control = reinterpret_cast<HWND>(lp);
  if (control && HIWORD(wp) == CBN_SELCHANGE) {
    auto it = selects_.find(control);
    if (it != selects_.end()) {
      it->second();
      return true;
    }
  }
  if (!control || HIWORD(wp) != BN_CLICKED) return false;  // STN_CLICKED has the same code
  auto it = clicks_.find(control);
  if (it == clicks_.end()) return false;
  it->second();
  return true;
}

void Form::Show() {
  // A show step that fails stops there; the window still appears.
  Guarded([this] { FormShow(); });
  ShowWindow(hwnd(), SW_SHOW);
}

int Form::ShowModal() {
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  if (owner) EnableWindow(owner, FALSE);
  modal_ = true;
  modalResult_ = 0;
  Guarded([this] { FormShow(); });
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  MSG msg;
  while (modal_) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    app::DispatchOne(msg);
  }
  modal_ = false;
  // The owner is enabled before this window hides, so activation goes back to it.
  if (owner) EnableWindow(owner, TRUE);
  ShowWindow(hwnd(), SW_HIDE);
  if (owner) SetActiveWindow(owner);
  return modalResult_;
}

void Form::EndModal(int result) {
  modalResult_ = result;
  if (modal_)
    modal_ = false;
  else
    ShowWindow(hwnd(), SW_HIDE);
  PostMessageW(hwnd(), WM_NULL, 0, 0);  // wakes the modal loop
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (background_.Handle(hwnd(), msg, wp, lp, &result)) return result;
  switch (msg) {
    case WM_COMMAND:
      if (DispatchCommand(wp, lp)) return 0;
      break;
    case WM_NOTIFY:
      Notify(*reinterpret_cast<const NMHDR*>(lp));
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      auto it = drawers_.find(item.hwndItem);
      if (it == drawers_.end()) break;
      it->second(item);
      return TRUE;
    }
    case WM_CLOSE:
      FormCloseRequested();
      return 0;
  }
  return Default(msg, wp, lp);
}

// ---- message loop ----

namespace app {

bool DispatchOne(MSG& msg) {
  if (msg.message == WM_QUIT) return false;
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  auto* form = dynamic_cast<Form*>(Window::FromHwnd(root));
  if (form && form->keyPreview && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
    bool handled = false;
    form->Guarded([&] { handled = form->PreviewKeyDown(msg.wParam); });
    if (handled) return true;
  }
  if (form && form->keyPreview && msg.message == WM_CHAR) {
    bool handled = false;
    form->Guarded([&] { handled = form->PreviewChar(msg.wParam); });
    if (handled) return true;
  }
  if (form && IsDialogMessageW(root, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
  return static_cast<int>(msg.wParam);
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchOne(msg);
  }
}

}  // namespace app

}  // namespace corvel
