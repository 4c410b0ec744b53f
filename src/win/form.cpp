#include "win/form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/errors.h"
#include "win/system_message.h"

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

namespace {

// A control's or tool button's state, whichever it is.
void SetEnabledOf(const ControlInfo& info, bool enabled) {
  if (info.kind == Kind::ToolButton) ToolBar(info.hwnd).SetButtonEnabled(info.id, enabled);
  else SetEnabled(info.hwnd, enabled);
}

void SetVisibleOf(const ControlInfo& info, bool visible) {
  if (info.kind == Kind::ToolButton || info.kind == Kind::ToolSeparator)
    ToolBar(info.hwnd).SetButtonVisible(info.id, visible);
  else
    SetVisible(info.hwnd, visible);
}

}  // namespace

// ---- Page ----

Page::Page(Form& form, std::wstring designName, COLORREF bottomColour, HWND parent, const RECT& rect,
           std::span<const ControlSpec> table, HWND tabs)
    : Window(form.dialogs()), form_(form), name_(std::move(designName)), parent_(parent), rect_(rect), tabs_(tabs),
      table_(table), background_(bottomColour) {
  SetDpi(form.Dpi());
}

bool Page::Declares(std::wstring_view control) const {
  for (const ControlSpec& s : table_)
    if (control == s.name) return true;
  return false;
}

HWND Page::Control(std::wstring_view control) {
  Build();
  return controls_[control];
}

const ControlInfo& Page::Info(std::wstring_view control) {
  Build();
  return controls_.Info(control);
}

RECT Page::Area() const {
  if (tabs_) return TabControl(tabs_).DisplayArea();
  const RECT r = ScaleLayout(rect_, Dpi());
  return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

void Page::Build() {
  if (Built()) return;
  CreateNative({L"CorvelPage", name_, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, Area(), parent_});
  controls_.SetFace(form_.face_);
  controls_.Create(hwnd(), table_, Dpi());
  for (const auto& [name, state] : std::exchange(pending_, {})) {
    const ControlInfo& info = controls_.Info(name);
    if (state.text) SetText(info.hwnd, *state.text);
    if (state.visible) SetVisibleOf(info, *state.visible);
    if (state.checked) SetChecked(info.hwnd, *state.checked);
    if (state.enabled) SetEnabledOf(info, *state.enabled);
  }
  form_.BindPending(*this);
}

void Page::Rescale(UINT dpi) {
  SetDpi(dpi);
  if (!Built()) return;  // built later at the DPI of then
  const RECT area = Area();
  SetWindowPos(hwnd(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.Rescale(dpi);
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
  if (msg == WM_NOTIFY && controls_.AnswerNotify(*reinterpret_cast<const NMHDR*>(lp), lp)) return 0;
  // The controls' notifications are the form's business.
  if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_DRAWITEM) return form_.OnMessage(msg, wp, lp);
  return Default(msg, wp, lp);
}

// ---- Form ----

void Form::CreateForm(const std::wstring& caption, int clientWidth, int clientHeight, HWND owner, DWORD style,
                      COLORREF gradient) {
  client_ = {clientWidth, clientHeight};
  // Where a new window appears the system's DPI holds; a window that lands
  // on a monitor of another DPI is laid out again below.
  SetDpi(SystemDpi());
  const SIZE frame = FrameSize({Scale(clientWidth, Dpi()), Scale(clientHeight, Dpi())}, style, WS_EX_CONTROLPARENT,
                               false, Dpi());
  const int x = (GetSystemMetrics(SM_CXSCREEN) - frame.cx) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - frame.cy) / 2;
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  CreateNative({className_, caption, style, WS_EX_CONTROLPARENT, RECT{x, y, x + frame.cx, y + frame.cy}, owner, 0, icon});
  background_ = Background(gradient);
  controls_.SetFace(face_);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(controls_.NormalFont()), FALSE);
  if (const UINT own = WindowDpi(hwnd()); own != Dpi()) ApplyDpi(own);
}

void Form::FitFrameToClient() {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
  const SIZE frame = FrameSize({Scale(client_.cx, Dpi()), Scale(client_.cy, Dpi())}, style, exStyle,
                               GetMenu(hwnd()) != nullptr, Dpi());
  SetWindowPos(hwnd(), nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetFontFace(const wchar_t* face) {
  face_ = face;
  controls_.SetFace(face);
  if (hwnd()) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(controls_.NormalFont()), FALSE);
}

void Form::ApplyDpi(UINT dpi, const RECT* suggested) {
  if (!dpi) return;
  const bool changed = dpi != Dpi();
  SetDpi(dpi);
  if (suggested)
    SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  else if (changed)
    FitFrameToClient();
  if (!changed) return;
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(controls_.NormalFont()), FALSE);
  controls_.Rescale(dpi);  // tab controls first: their pages follow their display areas
  for (auto& [_, page] : pages_) page->Rescale(dpi);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

Page& Form::AddPage(std::wstring designName, COLORREF bottom, const RECT& rect, std::span<const ControlSpec> table) {
  auto page = std::make_unique<Page>(*this, designName, bottom, hwnd(), rect, table);
  Page& ref = *page;
  pages_[std::move(designName)] = std::move(page);
  return ref;
}

Page& Form::AddPage(std::wstring designName, COLORREF bottom, HWND tabs, std::span<const ControlSpec> table) {
  auto page = std::make_unique<Page>(*this, designName, bottom, hwnd(), RECT{}, table, tabs);
  Page& ref = *page;
  pages_[std::move(designName)] = std::move(page);
  return ref;
}

HWND Form::AddTabControl(const wchar_t* name, const RECT& rect, std::span<const std::wstring> captions, SIZE padding) {
  const ControlSpec spec[] = {{Kind::TabControl, name, nullptr, rect}};
  AddControls(spec);
  controls_.SetTabPadding(name, padding);  // before the tabs: it decides their widths
  TabControl tabs(controls_[name]);
  for (const std::wstring& caption : captions) tabs.Add(caption);
  return tabs.hwnd();
}

const ControlInfo& Form::Locate(std::wstring_view name) const {
  if (controls_.Has(name)) return controls_.Info(name);
  for (const auto& [_, page] : pages_)
    if (page->Declares(name)) return page->Info(name);
  throw Error(L"Komponente nicht gefunden: " + std::wstring(name));
}

HWND Form::Ctl(std::wstring_view name) const { return Locate(name).hwnd; }

Form::ToolButtonRef Form::ToolButton(std::wstring_view name) const {
  const ControlInfo& info = Locate(name);
  if (info.kind != Kind::ToolButton) throw Error(L"Keine Werkzeugschaltfl\u00e4che: " + std::wstring(name));
  return {ToolBar(info.hwnd), info.id};
}

void Form::SetToolImages(std::wstring_view toolBar, ImageListMaker make) {
  if (controls_.Has(toolBar)) return controls_.SetToolImages(toolBar, std::move(make));
  for (const auto& [_, page] : pages_)
    if (page->Declares(toolBar)) {
      page->Build();
      return page->controls().SetToolImages(toolBar, std::move(make));
    }
  throw Error(L"Komponente nicht gefunden: " + std::wstring(toolBar));
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
  if (Page* page = UnbuiltPageOf(name)) {
    page->PendingFor(name).visible = visible;
    return;
  }
  SetVisibleOf(Locate(name), visible);
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
  if (Page* page = UnbuiltPageOf(name)) {
    page->PendingFor(name).enabled = enabled;
    return;
  }
  SetEnabledOf(Locate(name), enabled);
}

Form::Target Form::TargetOf(const ControlInfo& info) {
  return {info.hwnd, info.kind == Kind::ToolButton ? info.id : GetDlgCtrlID(info.hwnd), info.kind};
}

void Form::Bind(std::wstring_view name, std::function<void(const Target&)> binder) {
  if (UnbuiltPageOf(name)) {
    pendingBinds_.emplace_back(std::wstring(name), std::move(binder));
    return;
  }
  binder(TargetOf(Locate(name)));
}

void Form::BindPending(Page& page) {
  // Taken out first: a binder may ask for controls of other pages.
  std::vector<std::pair<std::wstring, std::function<void(const Target&)>>> now;
  std::erase_if(pendingBinds_, [&](auto& entry) {
    if (!page.Declares(entry.first)) return false;
    now.push_back(std::move(entry));
    return true;
  });
  for (auto& [name, binder] : now) binder(TargetOf(page.Info(name)));
}

void Form::BindCommand(std::wstring_view name, int code, std::function<void()> handler) {
  Bind(name, [this, code, handler = std::move(handler)](const Target& t) { commands_[{t.window, t.id, code}] = handler; });
}

void Form::OnClick(std::wstring_view name, std::function<void()> handler) {
  BindCommand(name, BN_CLICKED, std::move(handler));  // STN_CLICKED has the same code
}

void Form::OnSelect(std::wstring_view name, std::function<void()> handler) {
  BindCommand(name, CBN_SELCHANGE, std::move(handler));  // LBN_SELCHANGE has the same code
}

void Form::OnChange(std::wstring_view name, std::function<void()> handler) {
  BindCommand(name, EN_CHANGE, std::move(handler));
}

void Form::OnDoubleClick(std::wstring_view name, std::function<void()> handler) {
  Bind(name, [this, handler = std::move(handler)](const Target& t) {
    if (t.kind == Kind::ListView) notifies_[{t.window, NM_DBLCLK}] = [handler](const NMHDR&) { handler(); };
    else commands_[{t.window, t.id, LBN_DBLCLK}] = handler;
  });
}

void Form::OnNotify(std::wstring_view name, UINT code, std::function<void(const NMHDR&)> handler) {
  Bind(name, [this, code, handler = std::move(handler)](const Target& t) { notifies_[{t.window, code}] = handler; });
}

void Form::OnCommand(UINT id, std::function<void()> handler) {
  commands_[{nullptr, static_cast<int>(id), 0}] = std::move(handler);
}

void Form::OnDrawItem(std::wstring_view name, std::function<void(const DRAWITEMSTRUCT&)> draw) {
  Bind(name, [this, draw = std::move(draw)](const Target& t) { drawers_[t.window] = draw; });
}

void Form::OnDropFiles(std::function<void(const std::vector<std::wstring>&)> handler) {
  dropped_ = std::move(handler);
  DragAcceptFiles(hwnd(), TRUE);
}

void Form::OnTimer(UINT_PTR id, std::function<void()> tick) { timers_[id] = std::move(tick); }

void Form::StartTimer(const TimerSpec& timer) {
  if (!SetTimer(hwnd(), timer.id, timer.intervalMs, nullptr)) throw Error(SystemMessage(GetLastError()));
  running_.insert(timer.id);
}

void Form::StopTimer(UINT_PTR id) {
  KillTimer(hwnd(), id);
  running_.erase(id);
}

bool Form::TimerRunning(UINT_PTR id) const { return running_.count(id) != 0; }

bool Form::DispatchCommand(WPARAM wp, LPARAM lp) {
  const auto control = reinterpret_cast<HWND>(lp);
  // A menu or dialog-key command has no control and no notification code of its own.
  const int code = control ? HIWORD(wp) : 0;
  const auto it = commands_.find({control, LOWORD(wp), code});
  if (it == commands_.end()) return false;
  const auto handler = it->second;  // a handler may bind again
  handler();
  return true;
}

bool Form::DispatchNotify(const NMHDR& header, LPARAM lp) {
  if (controls_.AnswerNotify(header, lp)) return true;
  const auto it = notifies_.find({header.hwndFrom, header.code});
  if (it == notifies_.end()) return false;
  const auto handler = it->second;
  handler(header);
  return true;
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
  std::vector<std::wstring> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);  // without the terminating zero
    std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
    const UINT got = DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(got <= length ? got : length);
    paths.push_back(std::move(path));
  }
  return paths;
}

void Form::DispatchDrop(HDROP drop) {
  const UniqueDrop owned(drop);  // finished also when the handler fails
  const std::vector<std::wstring> paths = DroppedPaths(drop);
  if (dropped_ && !paths.empty()) dropped_(paths);
}

void Form::CentreOnOwner() {
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  if (!owner) return;
  RECT o, w;
  GetWindowRect(owner, &o);
  GetWindowRect(hwnd(), &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  SetWindowPos(hwnd(), nullptr, o.left + (o.right - o.left - width) / 2, o.top + (o.bottom - o.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lp);
      if (!DispatchNotify(header, lp)) Notify(header);
      return 0;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      auto it = drawers_.find(item.hwndItem);
      if (it == drawers_.end()) break;
      it->second(item);
      return TRUE;
    }
    case WM_TIMER: {
      const auto it = timers_.find(wp);
      if (it == timers_.end()) break;
      const auto tick = it->second;
      tick();
      return 0;
    }
    case WM_DROPFILES:
      DispatchDrop(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_DPICHANGED:
      ApplyDpi(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
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
