#include "windows_remote.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

#include "base/errors.h"
#include "win/remote_buffer.h"

namespace corvel::gui {

namespace {

constexpr DWORD kSendTimeoutMs = 5000;

struct EnumState {
  DWORD pid = 0;
  bool visibleOnly = false;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == state->pid && (!state->visibleOnly || IsWindowVisible(window))) state->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> DescendantsOf(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool WindowsPendingPaint(HWND top) {
  if (GetUpdateRect(top, nullptr, FALSE)) return true;
  for (HWND child : DescendantsOf(top)) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return true;
  }
  return false;
}

}  // namespace

TestedProcess::~TestedProcess() {
  EnsureEnded(5000);
  if (process_) CloseHandle(process_);
}

bool TestedProcess::Start(const std::wstring& exePath, std::wstring* error) {
  std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/") + 1);
  std::wstring commandLine = L"\"" + exePath + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    if (error) *error = L"CreateProcessW failed, error " + std::to_wstring(GetLastError());
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  return true;
}

bool TestedProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool TestedProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

void TestedProcess::EnsureEnded(DWORD graceMs) {
  if (!Running()) return;
  for (HWND box : TopLevelWindowsOf(id_, true)) PostMessageW(box, WM_CLOSE, 0, 0);
  if (WaitForExit(graceMs)) return;
  TerminateProcess(process_, 99);
  WaitForExit(5000);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied))
    return {};
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly) {
  EnumState state;
  state.pid = pid;
  state.visibleOnly = visibleOnly;
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND FindVisibleWindowOfProcess(DWORD pid, const std::wstring& cls, const wchar_t* text) {
  for (HWND window : TopLevelWindowsOf(pid, true)) {
    if (_wcsicmp(ClassOf(window).c_str(), cls.c_str()) != 0) continue;
    if (text && TextOf(window) != text) continue;
    return window;
  }
  return nullptr;
}

std::vector<HWND> DescendantsOfClass(HWND parent, const std::wstring& cls) {
  std::vector<HWND> found;
  for (HWND child : DescendantsOf(parent)) {
    if (_wcsicmp(ClassOf(child).c_str(), cls.c_str()) == 0) found.push_back(child);
  }
  return found;
}

HWND FindDescendant(HWND parent, const std::wstring& cls, const std::wstring& text) {
  for (HWND child : DescendantsOfClass(parent, cls)) {
    if (TextOf(child) == text) return child;
  }
  return nullptr;
}

bool AnswersMessages(HWND window, DWORD timeoutMs) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

bool Settle(HANDLE process, HWND top, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  auto left = [end] {
    const ULONGLONG now = GetTickCount64();
    return now >= end ? DWORD(0) : DWORD(end - now);
  };
  WaitForInputIdle(process, left());
  PostMessageW(top, WM_NULL, 0, 0);
  if (!AnswersMessages(top, left())) return false;
  const bool painted = WaitUntil([top] { return !WindowsPendingPaint(top); }, left());
  Sleep(150);  // window surfaces are flushed to the display shortly after painting
  return painted && AnswersMessages(top, left() + 100);
}

bool ClickButton(HWND button) {
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

std::optional<std::vector<std::wstring>> ReadTabCaptions(HANDLE process, HWND tab) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(tab, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count)) return std::nullopt;
  constexpr int kChars = 260;
  std::vector<std::wstring> captions;
  try {
    const RemoteBuffer remote(process, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
    for (DWORD_PTR i = 0; i < count; ++i) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = static_cast<LPWSTR>(remote.At(sizeof(TCITEMW)));
      item.cchTextMax = kChars;
      remote.WriteValue(0, item);
      remote.WriteValue(sizeof item, L'\0');
      DWORD_PTR ok = 0;
      if (!SendMessageTimeoutW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG,
                               kSendTimeoutMs, &ok) ||
          !ok)
        return std::nullopt;
      // The control may point pszText at its own storage instead of copying.
      const auto answered = remote.ReadValue<TCITEMW>(0);
      captions.push_back(remote.ReadText(answered.pszText, kChars - 1));
    }
  } catch (const Error& e) {
    std::fwprintf(stderr, L"reading the tab items: %ls\n", e.text().c_str());
    return std::nullopt;
  }
  return captions;
}

int TabSelection(HWND tab) {
  DWORD_PTR index = DWORD_PTR(-1);
  if (!SendMessageTimeoutW(tab, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &index)) return -2;
  return static_cast<int>(static_cast<LONG_PTR>(index));
}

bool SelectTab(HWND tab, int index) {
  // Sent without waiting: a page fill that shows a message box would keep a
  // plain SendMessage from returning until the box is answered.
  return SendNotifyMessageW(tab, TCM_SETCURFOCUS, index, 0) != 0;
}

std::vector<MessageBoxSeen> VisibleMessageBoxes(DWORD pid) {
  std::vector<MessageBoxSeen> boxes;
  for (HWND window : TopLevelWindowsOf(pid, true)) {
    if (ClassOf(window) != L"#32770") continue;
    MessageBoxSeen box;
    box.window = window;
    box.caption = TextOf(window);
    for (HWND label : DescendantsOfClass(window, L"Static")) {
      std::wstring text = TextOf(label);
      if (text.empty()) continue;
      if (!box.text.empty()) box.text += L" | ";
      box.text += text;
    }
    boxes.push_back(box);
  }
  return boxes;
}

bool AnswerMessageBox(HWND box, DWORD timeoutMs) {
  HWND button = GetDlgItem(box, IDOK);
  if (!button) {
    std::vector<HWND> buttons = DescendantsOfClass(box, L"Button");
    if (buttons.size() == 1) button = buttons.front();
  }
  ClickButton(button);
  if (WaitUntil([box] { return !IsWindowVisible(box); }, timeoutMs / 2)) return true;
  // A button that did not take the click: the dialog's own command does it.
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return WaitUntil([box] { return !IsWindowVisible(box); }, timeoutMs / 2);
}

}  // namespace corvel::gui
