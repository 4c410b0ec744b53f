#include "cleaner/cleaner_ops_win.h"

#include <shellapi.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <vector>

#include "win/codepage_win.h"
#include "base/errors.h"
#include "base/path.h"
#include "base/scope_guard.h"
#include "base/text.h"
#include "cleaner/reboot_delete.h"
#include "win/files.h"
#include "win/handles.h"
#include "win/system_message.h"
#include "win/version_resource.h"
#include "win/windows_version.h"

namespace corvel {
namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// The cache step needs these wininet exports; whether they exist is asked
// once per process.
bool CacheFunctionsPresent() {
  static const bool present = [] {
    HMODULE wininet = GetModuleHandleW(L"wininet.dll");
    if (!wininet) wininet = LoadLibraryW(L"wininet.dll");  // stays loaded: linked anyway
    if (!wininet) return false;
    for (const char* name : {"FindFirstUrlCacheGroup", "FindNextUrlCacheGroup", "GetUrlCacheGroupAttributeA",
                             "SetUrlCacheGroupAttributeA", "FindFirstUrlCacheEntryExA"})
      if (!GetProcAddress(wininet, name)) return false;
    return true;
  }();
  return present;
}

// The URL-history object and its interface, by their published ids.
constexpr CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

}  // namespace

std::uint32_t GetFileVersionMS(const std::wstring& path) {
  const auto block = ReadVersionBlock(path);
  return block ? block->fileVersionMS : 0;
}

bool IsProcessRunning(const std::wstring& name) {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.IsValid()) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    const std::wstring exe = entry.szExeFile;
    if (SameName(exe, name) || SameName(FileNamePart(exe), name)) return true;
  }
  return false;
}

bool ScheduleDeleteOnReboot(const std::wstring& path) {
  const WindowsVersion& version = ReportedWindowsVersion();
  if (version.nt)
    return MoveFileExW(path.c_str(), nullptr, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
  if (!version.ninetyFive) return false;
  wchar_t folder[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
  if (!n || n >= MAX_PATH) return false;
  const std::wstring ini = JoinPath(folder, L"wininit.ini");
  wchar_t shortPath[MAX_PATH] = L"";
  const DWORD s = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  const std::wstring shortText = s && s < MAX_PATH ? std::wstring(shortPath, s) : std::wstring();
  const WindowsCodePage ansi;
  std::vector<std::wstring> lines;
  try {
    if (auto bytes = ReadWholeFile(ini)) lines = SplitLinesCrLf(ansi.FromAnsi(*bytes));
  } catch (const Error&) {
    lines.clear();  // unreadable: written anew
  }
  std::wstring text;
  for (const auto& line : AddWininitDeletion(lines, shortText)) text += line + L"\r\n";
  try {
    WriteFileReplacing(ini, ansi.ToAnsi(text));
    return true;
  } catch (const Error&) {
    return false;
  }
}

Win32CleanerPlatform::Win32CleanerPlatform(HWND owner) : owner_(owner) {
  CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                   reinterpret_cast<void**>(history_.GetAddressOf()));
}

RecycleBinInfo Win32CleanerPlatform::QueryRecycleBin() {
  RecycleBinInfo bin;
  if (GetFileVersionMS(L"shell32.dll") < 0x40048) return bin;
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;  // the structure's size on this platform (20 only on 32-bit)
  if (SHQueryRecycleBinA(nullptr, &info) == S_OK) {
    bin.size = static_cast<std::uint64_t>(info.i64Size);
    bin.items = static_cast<std::uint64_t>(info.i64NumItems);
  }
  return bin;
}

void Win32CleanerPlatform::ClearInternetCache() {
  if (!CacheFunctionsPresent()) return;
  const DWORD filter = NORMAL_CACHE_ENTRY | STICKY_CACHE_ENTRY | TRACK_OFFLINE_CACHE_ENTRY | TRACK_ONLINE_CACHE_ENTRY |
                       COOKIE_CACHE_ENTRY | URLHISTORY_CACHE_ENTRY;
  std::vector<unsigned char> buffer(4096);
  auto entry = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data()); };
  DWORD size = static_cast<DWORD>(buffer.size());
  HANDLE find = FindFirstUrlCacheEntryExW(nullptr, 0, filter, 0, entry(), &size, nullptr, nullptr, nullptr);
  if (!find && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    buffer.resize(size);
    find = FindFirstUrlCacheEntryExW(nullptr, 0, filter, 0, entry(), &size, nullptr, nullptr, nullptr);
  }
  if (!find) return;
  const ScopeExit close([find] { FindCloseUrlCache(find); });
  for (;;) {
    DeleteUrlCacheEntryW(entry()->lpszSourceUrlName);
    size = static_cast<DWORD>(buffer.size());
    if (FindNextUrlCacheEntryExW(find, entry(), &size, nullptr, nullptr, nullptr)) continue;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;  // no more items, or any other failure: done
    buffer.resize(size);
    if (!FindNextUrlCacheEntryExW(find, entry(), &size, nullptr, nullptr, nullptr)) break;
  }
}

void Win32CleanerPlatform::ClearUrlHistory() {
  if (history_) history_->ClearHistory();
}

void Win32CleanerPlatform::EmptyRecycleBin() {
  using EmptyFn = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);
  UniqueModule shell(LoadLibraryW(L"Shell32.dll"));
  if (!shell) throw Error(SystemMessage(GetLastError()));
  const auto empty = reinterpret_cast<EmptyFn>(reinterpret_cast<void*>(GetProcAddress(shell.get(), "SHEmptyRecycleBinA")));
  if (!empty) throw Error(SystemMessage(GetLastError()));
  empty(owner_, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

}  // namespace corvel
