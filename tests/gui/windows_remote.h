// Driving another process's windows from outside: finding them, reading
// texts and tab items, clicking buttons, answering message boxes. Every wait
// is bounded.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvel::gui {

// The program under test, started with CreateProcessW. Destroying it makes
// sure the process has ended: it asks the main window to close, waits a
// little, and terminates what is left, so a failed check never leaves a
// window behind.
class TestedProcess {
 public:
  TestedProcess() = default;
  TestedProcess(const TestedProcess&) = delete;
  TestedProcess& operator=(const TestedProcess&) = delete;
  ~TestedProcess();

  bool Start(const std::wstring& exePath, std::wstring* error);
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  bool Running() const;
  // True when the process ended within `timeoutMs`; `exitCode` receives its code.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
  // Posts WM_CLOSE to every visible top-level window, then terminates after
  // `graceMs`. Safe to call when the process has already ended.
  void EnsureEnded(DWORD graceMs);

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Repeats `done` every 50 ms until it is true or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

std::wstring ClassOf(HWND window);
// WM_GETTEXT through SendMessageTimeout, so a hung target cannot block us.
std::wstring TextOf(HWND window);

// Top-level windows of process `pid` (visible ones only when `visibleOnly`).
std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly);
// The first visible top-level window of `pid` with class `cls` and, when
// given, window text `text`.
HWND FindVisibleWindowOfProcess(DWORD pid, const std::wstring& cls, const wchar_t* text = nullptr);
// All descendants of `parent` (any depth) with class `cls`, compared without
// regard to letter case as the system does.
std::vector<HWND> DescendantsOfClass(HWND parent, const std::wstring& cls);
// The first descendant with class `cls` and exactly the window text `text`.
HWND FindDescendant(HWND parent, const std::wstring& cls, const std::wstring& text);

// True once the window's thread answers a sent no-op within `timeoutMs`:
// everything queued before has been handled, or the thread sits in a modal
// loop (a message box).
bool AnswersMessages(HWND window, DWORD timeoutMs);
// Lets the target finish what it is doing: input idle, a sent no-op, and no
// window of `top` still waiting to be painted; then a short pause so the
// window surfaces reach the screen.
bool Settle(HANDLE process, HWND top, DWORD timeoutMs);

// Posts BM_CLICK, as a mouse click on the button would.
bool ClickButton(HWND button);

// Texts of all items of a tab control in another process, read with
// TCM_GETITEMW through a RemoteBuffer placed in that process (freed again).
std::optional<std::vector<std::wstring>> ReadTabCaptions(HANDLE process, HWND tab);
int TabSelection(HWND tab);
// Selects a tab as a click would: the parent gets TCN_SELCHANGING and
// TCN_SELCHANGE. Does not wait for the page change to finish.
bool SelectTab(HWND tab, int index);

struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;  // the box's static texts, joined by " | "
};
// Visible standard dialog windows ("#32770") of process `pid`.
std::vector<MessageBoxSeen> VisibleMessageBoxes(DWORD pid);
// Presses the box's OK button (or its only button); true when the box is gone
// within `timeoutMs`.
bool AnswerMessageBox(HWND box, DWORD timeoutMs);

}  // namespace corvel::gui
