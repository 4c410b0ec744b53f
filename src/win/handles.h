// Small RAII owners for the handle kinds WRL does not cover.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <memory>

namespace corvel {

// A kernel handle closed on scope exit (MinGW's WRL has no HandleT/FileHandle).
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) { Close(); h_ = o.h_; o.h_ = nullptr; }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  bool IsValid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  void Close() {
    if (IsValid()) CloseHandle(h_);
    h_ = nullptr;
  }
 private:
  HANDLE h_ = nullptr;
};

struct RegKeyCloser { void operator()(HKEY k) const { if (k) RegCloseKey(k); } };
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

struct ModuleFreer { void operator()(HMODULE m) const { if (m) FreeLibrary(m); } };
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

struct GdiObjectDeleter { void operator()(HGDIOBJ o) const { if (o) DeleteObject(o); } };
template <class T>
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<T>, GdiObjectDeleter>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;

struct FindCloser { void operator()(HANDLE h) const { if (h && h != INVALID_HANDLE_VALUE) FindClose(h); } };
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct IconDestroyer { void operator()(HICON i) const { if (i) DestroyIcon(i); } };
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// Memory the system hands out and the caller frees: CoTaskMemFree, LocalFree.
struct CoTaskMemFreer { void operator()(void* p) const { CoTaskMemFree(p); } };
template <class T>
using UniqueCoTaskMem = std::unique_ptr<T, CoTaskMemFreer>;
struct LocalFreer { void operator()(void* p) const { if (p) LocalFree(p); } };
template <class T>
using UniqueLocal = std::unique_ptr<T, LocalFreer>;

// A window DC released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
 private:
  HWND hwnd_;
  HDC dc_;
};

}  // namespace corvel
