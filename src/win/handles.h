// Small RAII owners for every handle kind the program releases: kernel
// handles, registry keys, modules, GDI objects, find handles, icons, local,
// global and COM task memory, BSTRs, menus, image lists, dropped-file
// handles, a window DC and a DC's selected object. WRL's ComPtr covers COM
// interfaces; everything else has its owner here, so no handler releases by hand.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <utility>

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

struct LocalFreer { void operator()(void* p) const { if (p) LocalFree(p); } };
// Memory the system hands out with LocalAlloc (FormatMessageW's buffer, ...).
template <class T = void>
using UniqueLocal = std::unique_ptr<T, LocalFreer>;

struct GlobalFreer { void operator()(HGLOBAL g) const { if (g) GlobalFree(g); } };
// A global memory block; release() once another owner (the clipboard) took it.
using UniqueGlobal = std::unique_ptr<void, GlobalFreer>;

struct CoTaskMemFreer { void operator()(void* p) const { if (p) CoTaskMemFree(p); } };
// COM task memory (item id lists, strings the shell allocates).
template <class T = void>
using UniqueCoTaskMem = std::unique_ptr<T, CoTaskMemFreer>;

struct BstrFreer { void operator()(BSTR b) const { SysFreeString(b); } };
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFreer>;
// A BSTR copy of text (embedded zeros kept).
inline UniqueBstr MakeBstr(const std::wstring& text) {
  return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

struct MenuDestroyer { void operator()(HMENU m) const { if (m) DestroyMenu(m); } };
// A menu not attached to a window (an attached one goes with its window:
// release() it when SetMenu or AppendMenuW(MF_POPUP) hands it over).
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

struct ImageListDestroyer { void operator()(HIMAGELIST l) const { if (l) ImageList_Destroy(l); } };
// Controls never destroy the image lists set on them: their window keeps one of these.
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroyer>;

struct DropFinisher { void operator()(HDROP d) const { if (d) DragFinish(d); } };
// The handle of WM_DROPFILES, finished on scope exit.
using UniqueDrop = std::unique_ptr<std::remove_pointer_t<HDROP>, DropFinisher>;

// An object selected into a DC; the one it replaced is selected back on scope exit.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

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
