#include "win/clipboard.h"

#include <cstring>

#include "base/errors.h"
#include "win/handles.h"
#include "win/system_message.h"

namespace corvel {

namespace {

[[noreturn]] void RaiseLastError() { throw Error(SystemMessage(GetLastError())); }

// Open from construction to destruction; the clipboard allows one opener.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() { if (open_) CloseClipboard(); }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }
 private:
  bool open_;
};

}  // namespace

void SetClipboardText(HWND owner, const std::wstring& text) {
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) RaiseLastError();
  void* p = GlobalLock(memory.get());
  if (!p) RaiseLastError();
  std::memcpy(p, text.c_str(), bytes);
  GlobalUnlock(memory.get());
  const OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen()) RaiseLastError();
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) RaiseLastError();
  memory.release();  // the clipboard owns it now
}

std::optional<std::wstring> ClipboardText(HWND owner) {
  const OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return std::nullopt;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return std::nullopt;
  const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
  std::wstring out(text, wcsnlen(text, limit));
  GlobalUnlock(data);
  return out;
}

}  // namespace corvel
