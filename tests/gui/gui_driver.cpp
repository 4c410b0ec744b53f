// Drives the real corvel.exe from a separate process: starts it, walks every
// page, switches the language, opens the About box, closes the program and
// reads the settings file it saved, then starts it again with that file.
//   gui_driver.exe <path of corvel.exe> <folder for screenshots> [--dpi N]
// With --dpi the prefix runs at N DPI (the harness sets it): the window must
// come out scaled from its 96-DPI design, and the screenshots show it so.
// Prints one "ok - ..." / "not ok - ..." line per check and a summary line;
// exits with 0 only when every check passed.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/settings.h"
#include "base/path.h"
#include "screenshot.h"
#include "windows_remote.h"

namespace corvel::gui {
namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kPageTimeoutMs = 30000;
constexpr DWORD kClickTimeoutMs = 10000;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr DWORD kSettleTimeoutMs = 10000;
constexpr DWORD kDriverTimeoutMs = 480000;

constexpr int kPageCount = 13;
constexpr int kControlPage = 9;
constexpr int kMiscPage = 12;
constexpr int kProcessPage = 10, kAutostartPage = 11;
constexpr const wchar_t* kGuiRunValue = L"CorvelGuiDriverCheck";
constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const kCaptions[kPageCount] = {L"System", L"CPU",     L"Folders",  L"Network",  L"Memory",
                                              L"Display", L"APM/Sound", L"Bios",  L"Mainboard", L"Control",
                                              L"Process", L"Autostart", L"Misc"};
const wchar_t* const kPageNames[kPageCount] = {
    L"TabSheetWindows", L"TabSheetCPU", L"TabSheetFolders",   L"TabSheetIdent", L"TabSheetMem",
    L"TabSheetRes",     L"TabSheetMisc", L"TabSheet1",        L"TabSheet2",     L"TabSheetClipBoard",
    L"TabSheetProc",    L"TabSheetAStart", L"TabSheetAbout"};

const wchar_t kMainClass[] = L"TFormSysInfo";
const wchar_t kMainCaption[] = L"Corvel PRO";
const wchar_t kPageClass[] = L"CorvelPage";
const wchar_t kAboutClass[] = L"TAboutBox";
const wchar_t kAppTitle[] = L"Corvel";
const wchar_t kDebugPrivilegeWarning[] = L"Kann Debug-Privilege nicht einschalten!";

// The pid of the running corvel, for the watchdog.
std::atomic<DWORD> g_corvelPid{0};

// The DPI the run expects corvel at (96 unless --dpi).
UINT g_dpi = 96;
int Scaled(int pixelsAt96) { return MulDiv(pixelsAt96, static_cast<int>(g_dpi), 96); }

// The DPI a window is shown at; 0 where the system cannot tell (before Windows 10).
UINT DpiOfWindow(HWND window) {
  using Fn = UINT(WINAPI*)(HWND);
  static const auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return fn ? fn(window) : 0;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

void PrintLine(const std::wstring& line) {
  const std::string bytes = Utf8(line) + "\n";
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

class Report {
 public:
  bool Check(bool ok, const std::wstring& what, const std::wstring& detail = {}) {
    (ok ? passed_ : failed_)++;
    PrintLine((ok ? L"ok - " : L"not ok - ") + what + (detail.empty() ? L"" : L" (" + detail + L")"));
    return ok;
  }
  void Note(const std::wstring& text) { PrintLine(L"# " + text); }
  int Finish() {
    PrintLine(std::to_wstring(passed_) + L" passed, " + std::to_wstring(failed_) + L" failed");
    return failed_ == 0 && passed_ > 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

struct Corvel {
  TestedProcess process;
  HWND main = nullptr;
  HWND tab = nullptr;
};

std::wstring SettingsFilePath() {
  wchar_t common[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)))
    return L"C:\\ProgramData\\corveldata\\corvel.ini";
  return JoinPath(common, L"corveldata\\corvel.ini");
}

// "a.b.c.d" from the file-version record of `exe`; empty when it has none.
std::wstring FileVersionOf(const std::wstring& exe) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (!size) return {};
  std::vector<char> block(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
    return {};
  return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
         L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
         std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

// Four decimal numbers joined by ".".
bool IsDottedVersion(const std::wstring& text) {
  int parts = 1, digits = 0;
  for (wchar_t c : text) {
    if (c == L'.') {
      if (digits == 0) return false;
      ++parts;
      digits = 0;
    } else if (c >= L'0' && c <= L'9') {
      ++digits;
    } else {
      return false;
    }
  }
  return parts == 4 && digits > 0;
}

std::wstring Joined(const std::vector<std::wstring>& items) {
  std::wstring out;
  for (const auto& item : items) out += (out.empty() ? L"" : L", ") + Quoted(item);
  return out;
}

std::vector<std::wstring> StaticTextsOf(HWND parent) {
  std::vector<std::wstring> texts;
  for (HWND child : DescendantsOfClass(parent, L"Static")) texts.push_back(TextOf(child));
  return texts;
}

// Fails one check per message box that is showing, prints its text, and
// answers it so the run can go on. True when none was showing.
bool NoMessageBoxShown(Corvel& corvel, Report& report, const std::wstring& when) {
  const auto boxes = VisibleMessageBoxes(corvel.process.Id());
  for (const auto& box : boxes) {
    report.Check(false, L"no message box " + when,
                 L"box " + Quoted(box.caption) + L" says " + Quoted(box.text));
    AnswerMessageBox(box.window, 4000);
  }
  return boxes.empty();
}

// Waits for the main window; a warning box about the debug privilege may come
// first (a token without that privilege), is noted and answered.
HWND WaitForMainWindow(Corvel& corvel, Report& report) {
  HWND main = nullptr;
  int answered = 0;
  WaitUntil(
      [&] {
        for (const auto& box : VisibleMessageBoxes(corvel.process.Id())) {
          if (box.caption == kAppTitle && box.text == kDebugPrivilegeWarning) {
            report.Note(L"start-up warning " + Quoted(box.text) + L" answered");
          } else {
            report.Check(false, L"no unexpected message box at start",
                         L"box " + Quoted(box.caption) + L" says " + Quoted(box.text));
          }
          AnswerMessageBox(box.window, 4000);
          if (++answered > 5) return true;
        }
        main = FindVisibleWindowOfProcess(corvel.process.Id(), kMainClass, kMainCaption);
        return main != nullptr || !corvel.process.Running();
      },
      kStartTimeoutMs);
  return main;
}

bool StartCorvel(Corvel& corvel, const std::wstring& exe, Report& report, const std::wstring& which) {
  std::wstring error;
  if (!report.Check(corvel.process.Start(exe, &error), which + L": corvel.exe starts", error)) return false;
  g_corvelPid = corvel.process.Id();
  corvel.main = WaitForMainWindow(corvel, report);
  if (!report.Check(corvel.main != nullptr,
                    which + L": main window " + Quoted(kMainCaption) + L" of class " + kMainClass + L" appears",
                    corvel.main ? L"" : (corvel.process.Running() ? L"not within 20 s" : L"the process ended")))
    return false;
  Settle(corvel.process.Handle(), corvel.main, kSettleTimeoutMs);
  const auto tabs = DescendantsOfClass(corvel.main, L"SysTabControl32");
  corvel.tab = tabs.empty() ? nullptr : tabs.front();
  return report.Check(corvel.tab != nullptr, which + L": the main window has a SysTabControl32");
}

HWND PageWindow(HWND main, int index) { return FindDescendant(main, kPageClass, kPageNames[index]); }

std::vector<std::wstring> VisiblePages(HWND main) {
  std::vector<std::wstring> names;
  for (HWND page : DescendantsOfClass(main, kPageClass)) {
    if (IsWindowVisible(page)) names.push_back(TextOf(page));
  }
  return names;
}

void CheckStartState(Corvel& corvel, Report& report) {
  RECT client{};
  GetClientRect(corvel.main, &client);
  const std::wstring size = std::to_wstring(Scaled(700)) + L" x " + std::to_wstring(Scaled(421));
  report.Check(client.right == Scaled(700) && client.bottom == Scaled(421),
               L"main window client area is " + size + (g_dpi != 96 ? L" (700 x 421 at " + std::to_wstring(g_dpi) + L" DPI)" : L""),
               std::to_wstring(client.right) + L" x " + std::to_wstring(client.bottom));
  if (const UINT dpi = DpiOfWindow(corvel.main))
    report.Check(dpi == g_dpi, L"main window is shown at " + std::to_wstring(g_dpi) + L" DPI", std::to_wstring(dpi));

  const auto captions = ReadTabCaptions(corvel.process.Handle(), corvel.tab);
  const std::vector<std::wstring> expected(kCaptions, kCaptions + kPageCount);
  report.Check(captions && *captions == expected, L"tab control has the 13 page captions in order",
               captions ? Joined(*captions) : L"items could not be read");

  const int selected = TabSelection(corvel.tab);
  report.Check(selected == kControlPage, L"Control (index 9) is the selected tab at start",
               L"selection " + std::to_wstring(selected));
  const auto visible = VisiblePages(corvel.main);
  report.Check(visible == std::vector<std::wstring>{kPageNames[kControlPage]},
               L"only the page TabSheetClipBoard is visible at start", L"visible: " + Joined(visible));
  NoMessageBoxShown(corvel, report, L"after start");
}

// Selects page `index` as a click would and waits until corvel has handled
// it (or shows a message box).
bool SelectPageAndWait(Corvel& corvel, int index) {
  if (!SelectTab(corvel.tab, index)) return false;
  const DWORD pid = corvel.process.Id();
  const bool done = WaitUntil(
      [&] {
        if (!VisibleMessageBoxes(pid).empty()) return true;
        if (!AnswersMessages(corvel.main, 250)) return false;
        HWND page = PageWindow(corvel.main, index);
        return TabSelection(corvel.tab) == index && page && IsWindowVisible(page);
      },
      kPageTimeoutMs);
  if (done && VisibleMessageBoxes(pid).empty()) Settle(corvel.process.Handle(), corvel.main, kSettleTimeoutMs);
  return done;
}

void CheckScreenshot(HWND window, const std::wstring& path, Report& report) {
  const std::wstring what = L"screenshot " + path + L" saved and not all one colour";
  const auto shot = CaptureWindow(window);
  if (!shot) {
    report.Check(false, what, L"the screen could not be captured");
    return;
  }
  std::wstring error;
  const bool saved = SavePng(path, *shot, &error);
  const std::wstring size = std::to_wstring(shot->width) + L" x " + std::to_wstring(shot->height);
  report.Check(saved && !shot->IsOneColour(), what,
               !saved ? error : shot->IsOneColour() ? size + L", one colour only" : size);
}

std::wstring PageFileName(int index) {
  std::wstring caption = kCaptions[index];
  for (auto& c : caption) {
    if (c == L'/') c = L'-';
  }
  wchar_t number[8];
  swprintf(number, 8, L"%02d", index);
  return L"page-" + std::wstring(number) + L"-" + caption + L".png";
}

void CheckEveryPage(Corvel& corvel, const std::wstring& artifacts, Report& report) {
  for (int index = 0; index < kPageCount; ++index) {
    const std::wstring what = L"page " + std::to_wstring(index) + L" " + Quoted(kCaptions[index]);
    if (!report.Check(SelectPageAndWait(corvel, index), what + L": corvel handles the page change")) continue;
    if (!NoMessageBoxShown(corvel, report, L"on " + what)) Settle(corvel.process.Handle(), corvel.main, kSettleTimeoutMs);
    const auto visible = VisiblePages(corvel.main);
    report.Check(TabSelection(corvel.tab) == index && visible == std::vector<std::wstring>{kPageNames[index]},
                 what + L": " + kPageNames[index] + L" is the only visible page", L"visible: " + Joined(visible));
    CheckScreenshot(corvel.main, JoinPath(artifacts, PageFileName(index)), report);
  }
}

// The items of the first visible list box of a page, read across processes.
std::vector<std::wstring> ListedOnPage(HWND main, int page) {
  std::vector<std::wstring> items;
  for (HWND list : DescendantsOfClass(PageWindow(main, page), L"ListBox")) {
    if (!IsWindowVisible(list)) continue;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
      if (length < 0) continue;
      std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
      text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, SendMessageW(list, LB_GETTEXT, i,
                                                                                reinterpret_cast<LPARAM>(text.data())))));
      items.push_back(text);
    }
    break;
  }
  return items;
}

// Entering the Process page lists this driver's own process; entering the
// Autostart page lists the Run value the driver put there before the start.
void CheckToolPages(Corvel& corvel, Report& report) {
  struct Case { int page; const wchar_t* name; const wchar_t* what; };
  const Case cases[] = {{kProcessPage, L"gui_driver.exe", L"Process page lists the driver's process"},
                        {kAutostartPage, kGuiRunValue, L"Autostart page lists the driver's Run value"}};
  for (const Case& c : cases) {
    SelectPageAndWait(corvel, c.page);
    const std::vector<std::wstring> items = ListedOnPage(corvel.main, c.page);
    report.Check(std::find(items.begin(), items.end(), c.name) != items.end(), c.what,
                 std::to_wstring(items.size()) + L" entries");
  }
}

struct MiscButtons {
  HWND german = nullptr, english = nullptr, about = nullptr, quit = nullptr;
};

MiscButtons FindMiscButtons(HWND main) {
  MiscButtons buttons;
  HWND page = PageWindow(main, kMiscPage);
  if (!page) return buttons;
  buttons.german = FindDescendant(page, L"Button", L"German");
  buttons.english = FindDescendant(page, L"Button", L"English");
  buttons.about = FindDescendant(page, L"Button", L"About...");
  if (!buttons.about) buttons.about = FindDescendant(page, L"Button", L"\u00dcber...");
  buttons.quit = FindDescendant(page, L"Button", L"Quit");
  if (!buttons.quit) buttons.quit = FindDescendant(page, L"Button", L"Beenden");
  return buttons;
}

bool Visible(HWND window) { return window && IsWindowVisible(window); }

// The Misc page as it must look for `english`: the other language's button
// is the visible one, and About/Quit speak the active language.
void CheckMiscPageLanguage(Corvel& corvel, bool english, Report& report, const std::wstring& when) {
  const MiscButtons b = FindMiscButtons(corvel.main);
  const bool buttonsOk = english ? Visible(b.german) && !Visible(b.english) : Visible(b.english) && !Visible(b.german);
  report.Check(buttonsOk,
               when + L": " + (english ? L"\"German\" visible, \"English\" hidden" : L"\"English\" visible, \"German\" hidden"),
               std::wstring(L"German ") + (Visible(b.german) ? L"visible" : b.german ? L"hidden" : L"missing") +
                   L", English " + (Visible(b.english) ? L"visible" : b.english ? L"hidden" : L"missing"));
  const std::wstring about = english ? L"About..." : L"\u00dcber...";
  const std::wstring quit = english ? L"Quit" : L"Beenden";
  report.Check(b.about && TextOf(b.about) == about && b.quit && TextOf(b.quit) == quit,
               when + L": buttons read " + Quoted(about) + L" and " + Quoted(quit),
               Quoted(b.about ? TextOf(b.about) : L"(no About button)") + L", " +
                   Quoted(b.quit ? TextOf(b.quit) : L"(no Quit button)"));
}

void SwitchLanguage(Corvel& corvel, bool english, Report& report) {
  const MiscButtons before = FindMiscButtons(corvel.main);
  HWND button = english ? before.english : before.german;
  const std::wstring name = english ? L"English" : L"German";
  if (!report.Check(Visible(button), L"the " + Quoted(name) + L" button is there to click")) return;
  ClickButton(button);
  const bool switched = WaitUntil(
      [&] {
        const MiscButtons now = FindMiscButtons(corvel.main);
        return english ? Visible(now.german) && !Visible(now.english) : Visible(now.english) && !Visible(now.german);
      },
      kClickTimeoutMs);
  Settle(corvel.process.Handle(), corvel.main, kSettleTimeoutMs);
  NoMessageBoxShown(corvel, report, L"after clicking " + Quoted(name));
  if (!switched) report.Note(L"the language buttons did not change within 10 s");
  CheckMiscPageLanguage(corvel, english, report, L"after clicking " + Quoted(name));
}

void CheckAboutBox(Corvel& corvel, bool english, const std::wstring& expectedVersion, const std::wstring& shotPath,
                   Report& report) {
  const std::wstring caption = english ? L"About..." : L"\u00dcber...";
  const std::wstring release = english ? L"Release" : L"Version";
  const MiscButtons buttons = FindMiscButtons(corvel.main);
  if (!report.Check(Visible(buttons.about), L"the About button is there to click")) return;
  ClickButton(buttons.about);
  HWND about = nullptr;
  WaitUntil(
      [&] {
        about = FindVisibleWindowOfProcess(corvel.process.Id(), kAboutClass);
        return about != nullptr || !VisibleMessageBoxes(corvel.process.Id()).empty();
      },
      kClickTimeoutMs);
  NoMessageBoxShown(corvel, report, L"on opening the About box");
  if (!report.Check(about != nullptr, L"the About box (" + std::wstring(kAboutClass) + L") opens")) return;
  Settle(corvel.process.Handle(), about, kSettleTimeoutMs);

  report.Check(TextOf(about) == caption, L"About box caption is " + Quoted(caption), Quoted(TextOf(about)));
  const auto labels = StaticTextsOf(about);
  bool hasRelease = false;
  std::wstring version;
  for (const auto& text : labels) {
    hasRelease = hasRelease || text == release;
    if (IsDottedVersion(text)) version = text;
  }
  report.Check(hasRelease, L"About box has the label " + Quoted(release), L"labels: " + Joined(labels));
  report.Check(!version.empty() && (expectedVersion.empty() || version == expectedVersion),
               L"About box shows the program version as four numbers",
               version.empty() ? L"labels: " + Joined(labels)
                               : Quoted(version) + L", file version " + Quoted(expectedVersion));
  if (!shotPath.empty()) CheckScreenshot(about, shotPath, report);

  HWND ok = FindDescendant(about, L"Button", L"OK");
  if (!ok) ok = FindDescendant(about, L"Button", L"&OK");
  report.Check(ok != nullptr, L"About box has an \"OK\" button");
  ClickButton(ok);
  const bool closed = WaitUntil([&] { return !IsWindowVisible(about); }, kClickTimeoutMs);
  if (!closed) PostMessageW(about, WM_CLOSE, 0, 0);
  report.Check(closed, L"OK closes the About box");
  Settle(corvel.process.Handle(), corvel.main, kSettleTimeoutMs);
  NoMessageBoxShown(corvel, report, L"after closing the About box");
}

// Posts WM_CLOSE to the main window and waits for the process to end.
void CloseCorvel(Corvel& corvel, Report& report, const std::wstring& which) {
  PostMessageW(corvel.main, WM_CLOSE, 0, 0);
  DWORD code = 0;
  bool ended = false;
  WaitUntil(
      [&] {
        ended = corvel.process.WaitForExit(0, &code);
        return ended || !VisibleMessageBoxes(corvel.process.Id()).empty();
      },
      kExitTimeoutMs);
  if (!ended) {
    NoMessageBoxShown(corvel, report, L"while closing");
    ended = corvel.process.WaitForExit(kExitTimeoutMs / 3, &code);
  }
  report.Check(ended, which + L": WM_CLOSE ends corvel.exe", ended ? L"exit code " + std::to_wstring(code) : L"");
  corvel.process.EnsureEnded(2000);
  g_corvelPid = 0;
}

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1 << 20);
  if (ok) {
    bytes->resize(std::size_t(size.QuadPart));
    DWORD read = 0;
    ok = bytes->empty() || (ReadFile(file, bytes->data(), DWORD(bytes->size()), &read, nullptr) && read == bytes->size());
  }
  CloseHandle(file);
  return ok;
}

std::wstring FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring text(size, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), text.data(), size);
  return text;
}

std::vector<std::string> SplitAtCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

void CheckSavedSettings(const std::wstring& path, const std::string& language, Report& report,
                        const std::wstring& which) {
  std::string bytes;
  if (!report.Check(ReadWholeFile(path, &bytes), which + L": settings file " + path + L" was written")) return;
  report.Check(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0,
               which + L": settings file ends with the CR LF appended after the enciphered text");
  report.Check(LooksEnciphered(FromAnsi(bytes)), which + L": settings file is enciphered",
               std::to_wstring(bytes.size()) + L" bytes");
  const auto lines = SplitAtCrLf(VigenereDecode(kSettingsKey, bytes));
  std::wstring shown;
  for (std::size_t i = 0; i < lines.size() && i < 11; ++i)
    shown += (i ? L", " : L"") + Quoted(FromAnsi(lines[i]));
  report.Check(lines.size() >= 12, which + L": deciphered settings hold eleven lines",
               std::to_wstring(lines.size()) + L" pieces: " + shown);
  if (lines.size() >= 11) {
    report.Check(lines[10] == language, which + L": settings line 10 (language) is " + Quoted(FromAnsi(language)),
                 Quoted(FromAnsi(lines[10])));
    report.Check(lines[9] == "true", which + L": settings line 9 (kept flag) is \"true\"", Quoted(FromAnsi(lines[9])));
  }
}

void RemoveSettingsFile(const std::wstring& path, Report& report) {
  const bool removed = DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
                       GetLastError() == ERROR_PATH_NOT_FOUND;
  report.Check(removed && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES,
               L"no settings file before the first start", path);
}

// Ends a stuck run: kills corvel so that nothing is left behind, then the driver.
void StartWatchdog() {
  std::thread([] {
    Sleep(kDriverTimeoutMs);
    PrintLine(L"not ok - the driver did not finish within " + std::to_wstring(kDriverTimeoutMs / 1000) + L" s");
    if (const DWORD pid = g_corvelPid.load()) {
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
        TerminateProcess(process, 98);
        CloseHandle(process);
      }
    }
    ExitProcess(2);
  }).detach();
}

int Run(const std::wstring& exe, const std::wstring& artifacts) {
  Report report;
  CreateDirectoryW(artifacts.c_str(), nullptr);  // a folder of its own per DPI
  const std::wstring settings = SettingsFilePath();
  const std::wstring version = FileVersionOf(exe);
  report.Note(L"corvel " + exe + L", file version " + (version.empty() ? L"(none)" : version) + L", settings " +
              settings + L", screenshots " + artifacts);
  RemoveSettingsFile(settings, report);
  const std::wstring runData = L"C:\\corvel-gui-check.exe";
  RegSetKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kGuiRunValue, REG_SZ, runData.c_str(),
                  static_cast<DWORD>((runData.size() + 1) * sizeof(wchar_t)));

  {
    Corvel corvel;
    if (StartCorvel(corvel, exe, report, L"first start")) {
      CheckStartState(corvel, report);
      CheckEveryPage(corvel, artifacts, report);
      CheckToolPages(corvel, report);
      if (TabSelection(corvel.tab) != kMiscPage) SelectPageAndWait(corvel, kMiscPage);
      CheckMiscPageLanguage(corvel, false, report, L"no settings file, German");
      SwitchLanguage(corvel, true, report);
      CheckAboutBox(corvel, true, version, JoinPath(artifacts, L"about-en.png"), report);
      SwitchLanguage(corvel, false, report);
      CheckAboutBox(corvel, false, version, JoinPath(artifacts, L"about-de.png"), report);
      SwitchLanguage(corvel, true, report);
      CloseCorvel(corvel, report, L"first start");
    }
  }
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kGuiRunValue);
  CheckSavedSettings(settings, "1", report, L"after the first start");

  {
    Corvel corvel;
    if (StartCorvel(corvel, exe, report, L"second start")) {
      report.Check(SelectPageAndWait(corvel, kMiscPage), L"second start: corvel handles the change to the Misc page");
      if (NoMessageBoxShown(corvel, report, L"on the Misc page"))
        CheckMiscPageLanguage(corvel, true, report, L"second start, English from the settings");
      CloseCorvel(corvel, report, L"second start");
    }
  }
  CheckSavedSettings(settings, "1", report, L"after the second start");
  return report.Finish();
}

}  // namespace
}  // namespace corvel::gui

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc == 5 && std::wstring(argv[3]) == L"--dpi") corvel::gui::g_dpi = static_cast<UINT>(_wtoi(argv[4]));
  if ((argc != 3 && argc != 5) || corvel::gui::g_dpi < 96) {
    std::fprintf(stderr, "usage: gui_driver <corvel.exe> <screenshot folder> [--dpi N]\n");
    return 2;
  }
  corvel::gui::StartWatchdog();
  return corvel::gui::Run(argv[1], argv[2]);
}
