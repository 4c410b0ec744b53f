// Start-up benchmark: the time from CreateProcessW until a program's main
// window is visible, for Corvel and for a program that only opens a window,
// in alternating runs so both see the same machine load.
//
//   startup_bench [--runs N] [PROGRAM CAPTION [BASELINE CAPTION]]
//
// Defaults: 7 runs each, X:\corvel.exe "Corvel PRO" against
// X:\minimal_window.exe "Minimal". Prints every run, both medians and their
// ratio. A figure, not a test: the exit code says only whether it could measure.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "base/path.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 30'000;
constexpr DWORD kExitTimeoutMs = 10'000;

struct Program {
  std::wstring path;
  std::wstring caption;
  std::vector<double> times;  // ms of the runs that showed their window
};

std::wstring BaseName(const std::wstring& path) { return corvel::FileNamePart(path); }

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[512];
  const int n = GetWindowTextW(hwnd, buffer, 512);
  return std::wstring(buffer, n > 0 ? n : 0);
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buffer[256];
  const int n = GetClassNameW(hwnd, buffer, 256);
  return std::wstring(buffer, n > 0 ? n : 0);
}

// What one look at the process's visible top-level windows found.
struct Scan {
  DWORD pid;
  const std::wstring* caption;
  HWND window = nullptr;
  HWND messageBox = nullptr;
};

BOOL CALLBACK ScanWindow(HWND hwnd, LPARAM param) {
  auto* scan = reinterpret_cast<Scan*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != scan->pid || !IsWindowVisible(hwnd)) return TRUE;
  if (ClassName(hwnd) == L"#32770") scan->messageBox = hwnd;
  else if (scan->caption && WindowText(hwnd) == *scan->caption) scan->window = hwnd;
  return TRUE;
}

Scan Look(DWORD pid, const std::wstring* caption) {
  Scan scan{pid, caption};
  EnumWindows(ScanWindow, reinterpret_cast<LPARAM>(&scan));
  return scan;
}

// Presses the first button of a message box and says what the box said.
void Dismiss(HWND box) {
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (ClassName(child) == L"Static" && !WindowText(child).empty()) text = WindowText(child);
  std::wprintf(L"    message box \"%ls\": \"%ls\", pressing its first button\n", WindowText(box).c_str(),
               text.c_str());
  if (HWND button = FindWindowExW(box, nullptr, L"Button", nullptr)) PostMessageW(button, BM_CLICK, 0, 0);
}

double Elapsed(const LARGE_INTEGER& from, const LARGE_INTEGER& frequency) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Waits for the process to end, answering message boxes it shows on the way
// out; ends it by force after the timeout.
void WaitForExit(const PROCESS_INFORMATION& pi) {
  const DWORD start = GetTickCount();
  HWND answered = nullptr;
  while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > kExitTimeoutMs) {
      std::wprintf(L"    did not end within %lu ms, terminated\n", kExitTimeoutMs);
      TerminateProcess(pi.hProcess, 1);
      WaitForSingleObject(pi.hProcess, 5000);
      return;
    }
    const Scan scan = Look(pi.dwProcessId, nullptr);
    if (scan.messageBox && scan.messageBox != answered) {
      answered = scan.messageBox;
      Dismiss(scan.messageBox);
    }
  }
}

// One start: ms until the window is visible, or nothing when it never was.
std::optional<double> RunOnce(const Program& program, const LARGE_INTEGER& frequency) {
  std::wstring commandLine = L"\"" + program.path + L"\"";
  std::wstring folder = program.path.substr(0, program.path.size() - BaseName(program.path).size());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER t0;
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    std::wprintf(L"    cannot start %ls (error %lu)\n", program.path.c_str(), GetLastError());
    return std::nullopt;
  }
  std::optional<double> result;
  HWND answered = nullptr;
  for (;;) {
    const Scan scan = Look(pi.dwProcessId, &program.caption);
    if (scan.window) {
      result = Elapsed(t0, frequency);
      PostMessageW(scan.window, WM_CLOSE, 0, 0);
      break;
    }
    if (scan.messageBox && scan.messageBox != answered) {
      answered = scan.messageBox;
      Dismiss(scan.messageBox);
    }
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
      GetExitCodeProcess(pi.hProcess, &code);
      std::wprintf(L"    ended (code %lu) without showing \"%ls\"\n", code, program.caption.c_str());
      break;
    }
    if (Elapsed(t0, frequency) > kWindowTimeoutMs) {
      std::wprintf(L"    no window \"%ls\" within %lu ms\n", program.caption.c_str(), kWindowTimeoutMs);
      break;
    }
    Sleep(1);
  }
  WaitForExit(pi);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Usage() {
  std::fwprintf(stderr, L"usage: startup_bench [--runs N] [PROGRAM CAPTION [BASELINE CAPTION]]\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 7;
  std::vector<std::wstring> positional;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--runs" && i + 1 < argc) {
      runs = _wtoi(argv[++i]);
      if (runs < 1 || runs > 1000) return Usage();
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 0 && positional.size() != 2 && positional.size() != 4) return Usage();
  Program program{L"X:\\corvel.exe", L"Corvel PRO", {}};
  Program baseline{L"X:\\minimal_window.exe", L"Minimal", {}};
  if (positional.size() >= 2) program = {positional[0], positional[1], {}};
  if (positional.size() == 4) baseline = {positional[2], positional[3], {}};

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::wprintf(L"startup: %ls \"%ls\" against %ls \"%ls\", %d runs each\n", program.path.c_str(),
               program.caption.c_str(), baseline.path.c_str(), baseline.caption.c_str(), runs);
  for (int run = 1; run <= runs; ++run) {
    for (Program* p : {&program, &baseline}) {
      const auto ms = RunOnce(*p, frequency);
      if (ms) {
        p->times.push_back(*ms);
        std::wprintf(L"  run %d  %-24ls %8.1f ms\n", run, BaseName(p->path).c_str(), *ms);
      } else {
        std::wprintf(L"  run %d  %-24ls   failed\n", run, BaseName(p->path).c_str());
      }
      std::fflush(stdout);
    }
  }
  for (const Program* p : {&program, &baseline}) {
    if (p->times.empty()) std::wprintf(L"median %ls: no successful run\n", BaseName(p->path).c_str());
    else std::wprintf(L"median %ls: %.1f ms (%zu runs)\n", BaseName(p->path).c_str(), Median(p->times), p->times.size());
  }
  if (program.times.empty() || baseline.times.empty()) {
    std::wprintf(L"ratio corvel/minimal: not measured\n");
    return 1;
  }
  std::wprintf(L"ratio corvel/minimal: %.2f\n", Median(program.times) / Median(baseline.times));
  std::wprintf(L"goal: ratio <= 1.5\n");
  return 0;
}
