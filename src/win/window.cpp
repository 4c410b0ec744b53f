#include "win/window.h"

#include <exception>
#include <set>

#include "base/errors.h"
#include "base/text.h"

namespace corvel {

namespace {

void RegisterOnce(const wchar_t* className, WNDPROC proc, HICON icon) {
  static std::set<std::wstring> registered;
  if (!registered.insert(className).second) return;
  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  RegisterClassExW(&wc);
}

}  // namespace

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

Window* Window::FromHwnd(HWND hwnd) {
  if (!hwnd) return nullptr;
  // Only windows of our own classes carry a Window in their user data.
  if (GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::WndProc)) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::CreateNative(const CreateParams& p) {
  RegisterOnce(p.className, &Window::WndProc, p.icon);
  HMENU menu = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(p.id) : nullptr;
  CreateWindowExW(p.exStyle, p.className, p.caption.c_str(), p.style, p.rect.left, p.rect.top,
                  p.rect.right - p.rect.left, p.rect.bottom - p.rect.top, p.parent, menu,
                  GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw Error(L"Fenster konnte nicht erzeugt werden: " + std::wstring(p.className));
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

void Window::ReportEscaped(const std::wstring& text) { dialogs_.ShowError(text); }

void Window::Guarded(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const Error& e) {
    ReportEscaped(e.text());
  } catch (const std::exception& e) {
    ReportEscaped(Widen(e.what()));
  } catch (...) {
    ReportEscaped(L"Unbekannter Fehler");
  }
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  bool ok = false;
  self->Guarded([&] {
    result = self->OnMessage(msg, wp, lp);
    ok = true;
  });
  if (!ok && msg == WM_PAINT) ValidateRect(hwnd, nullptr);
  return result;
}

}  // namespace corvel
