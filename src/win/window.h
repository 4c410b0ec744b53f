// Window: owns an HWND and runs every message it gets inside the one handler
// guard, so an exception that escapes a handler becomes the application's
// standard error box and the program goes on.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "base/dialogs.h"
#include "win/dpi.h"

namespace corvel {

class Window {
 public:
  explicit Window(Dialogs& dialogs) : dialogs_(dialogs) {}
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  Dialogs& dialogs() const { return dialogs_; }
  // The DPI the window's contents are laid out for.
  UINT Dpi() const { return dpi_; }
  static Window* FromHwnd(HWND hwnd);

  // Runs fn inside the handler guard (for code entered from outside a window
  // procedure, such as the message loop's key preview).
  void Guarded(const std::function<void()>& fn);

 protected:
  struct CreateParams {
    const wchar_t* className;
    std::wstring caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    RECT rect{0, 0, 100, 100};  // left, top, right, bottom in parent coordinates
    HWND parent = nullptr;      // owner for top-level windows
    UINT_PTR id = 0;            // child id
    HICON icon = nullptr;
  };
  void CreateNative(const CreateParams& params);

  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
  void SetDpi(UINT dpi) { dpi_ = dpi; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void ReportEscaped(const std::wstring& text);

  HWND hwnd_ = nullptr;
  Dialogs& dialogs_;
  UINT dpi_ = kDesignDpi;
};

}  // namespace corvel
