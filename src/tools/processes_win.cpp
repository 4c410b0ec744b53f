#include "tools/processes_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>

#include "base/errors.h"
#include "win/files.h"
#include "win/handles.h"
#include "win/privileges.h"
#include "win/system_message.h"
#include "win/version_resource.h"

namespace corvel {

namespace {

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;  // 0x0410
constexpr DWORD kPathBuffer = 260;

// A function of kernel32 (or, second, of psapi) looked up by name; null when
// the system has none.
template <class Fn>
Fn Lookup(const char* name, bool alsoPsapi) {
  auto find = [name](const wchar_t* dll) -> Fn {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryW(dll);  // psapi stays loaded for the program's life
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
  };
  Fn fn = find(L"kernel32.dll");
  if (!fn && alsoPsapi) fn = find(L"psapi.dll");
  return fn;
}

using QueryFullImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using ImageFileNameFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD);
using ModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);

ModuleFileNameExFn ModuleFileNameEx() {
  // Newer systems export it from kernel32 as K32GetModuleFileNameExW.
  static const ModuleFileNameExFn fn = [] {
    auto f = Lookup<ModuleFileNameExFn>("K32GetModuleFileNameExW", false);
    return f ? f : Lookup<ModuleFileNameExFn>("GetModuleFileNameExW", true);
  }();
  return fn;
}

ImageFileNameFn ImageFileName() {
  static const ImageFileNameFn fn = [] {
    auto f = Lookup<ImageFileNameFn>("K32GetProcessImageFileNameW", false);
    return f ? f : Lookup<ImageFileNameFn>("GetProcessImageFileNameW", true);
  }();
  return fn;
}

std::wstring UpToNul(const wchar_t* text, std::size_t size) { return std::wstring(text, wcsnlen(text, size)); }

// Calls fn for every entry of a fresh snapshot, the first one included;
// false when there is no snapshot or no first entry.
std::atomic<long> g_snapshots{0};

template <class Fn>
bool ForEachProcess(Fn&& fn) {
  ++g_snapshots;
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.IsValid()) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  if (!Process32FirstW(snapshot.Get(), &entry)) return false;
  do fn(entry);
  while (Process32NextW(snapshot.Get(), &entry));
  return true;
}

bool RunsUnderWow64(IsWow64Fn isWow64, HANDLE process) {
  BOOL wow = FALSE;
  if (!isWow64(process, &wow)) throw Error(SystemMessage(GetLastError()));
  return wow != FALSE;
}

}  // namespace

std::vector<ProcessEntry> TakeProcessSnapshot() {
  std::vector<ProcessEntry> entries;
  SetLastError(0);
  if (!ForEachProcess([&](const PROCESSENTRY32W& e) {
        entries.push_back({UpToNul(e.szExeFile, MAX_PATH), static_cast<long>(e.th32ProcessID)});
      }))
    throw Error(SystemMessage(GetLastError()));
  return entries;
}

long FindProcessIdByName(const std::wstring& name) {
  try {
    return FindProcessIdByName(name, TakeProcessSnapshot());
  } catch (const Error&) {
    return -1;
  }
}

long ProcessSnapshotsTaken() { return g_snapshots.load(); }

bool KeptProcess(const std::wstring& entry, const std::vector<ProcessEntry>& snapshot) {
  const long id = FindProcessIdByName(entry, snapshot);
  std::wstring path = GetProcessModulePath(id);
  try {
    if (IsNative64Process(id)) path = GetProcessImagePath(id);
  } catch (const Error&) {
    // No image path for that process.
  }
  const std::wstring subject = path.empty() ? entry : path;
  std::wstring product;
  if (FileExists(subject))
    if (const auto fields = ReadVersionFields(subject)) product = fields->productName;
  return KeptByFilter(product, subject, entry);
}

std::vector<std::wstring> NonSystemProcesses(const std::vector<std::wstring>& entries) {
  std::vector<ProcessEntry> snapshot;
  try {
    snapshot = TakeProcessSnapshot();
  } catch (const Error&) {
    // No process found: every entry is judged by its name alone.
  }
  std::vector<std::wstring> kept;
  for (const std::wstring& entry : entries)
    if (KeptProcess(entry, snapshot)) kept.push_back(entry);
  return kept;
}

std::wstring GetProcessModulePath(long processId) {
  const UniqueHandle process(OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(processId)));
  const ModuleFileNameExFn moduleName = ModuleFileNameEx();
  if (!process.IsValid() || !moduleName) return {};
  wchar_t path[kPathBuffer] = L"";
  if (moduleName(process.Get(), nullptr, path, kPathBuffer) == 0) return {};
  return UpToNul(path, kPathBuffer);
}

bool IsNative64Process(long processId) {
  static const IsWow64Fn isWow64 = Lookup<IsWow64Fn>("IsWow64Process", false);
  if (!isWow64) return false;
  if (!RunsUnderWow64(isWow64, GetCurrentProcess())) return false;
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, static_cast<DWORD>(processId)));
  if (!process.IsValid()) return true;
  return !RunsUnderWow64(isWow64, process.Get());
}

std::wstring GetProcessImagePath(long processId) {
  const UniqueHandle process(OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(processId)));
  if (!process.IsValid()) return {};
  wchar_t path[kPathBuffer] = L"";
  static const QueryFullImageNameFn fullName = Lookup<QueryFullImageNameFn>("QueryFullProcessImageNameW", false);
  DWORD size = kPathBuffer;
  if (fullName && fullName(process.Get(), 0, path, &size)) return UpToNul(path, kPathBuffer);
  if (const ImageFileNameFn imageName = ImageFileName()) {
    if (imageName(process.Get(), path, kPathBuffer) != 0)
      return DevicePathToDrivePath(UpToNul(path, kPathBuffer), DosDrives());
  }
  const ModuleFileNameExFn moduleName = ModuleFileNameEx();
  if (!moduleName || moduleName(process.Get(), nullptr, path, kPathBuffer) == 0) return {};
  return WithoutNtPrefix(UpToNul(path, kPathBuffer));
}

std::vector<DosDrive> DosDrives() {
  wchar_t roots[kPathBuffer] = L"";
  const DWORD length = GetLogicalDriveStringsW(kPathBuffer, roots);
  std::vector<DosDrive> drives;
  if (length == 0 || length > kPathBuffer) return drives;
  // Each root is "X:\" and a NUL.
  for (DWORD i = 0; i < length / 4; ++i) {
    const wchar_t letter = roots[i * 4];
    const wchar_t device[3] = {letter, L':', L'\0'};
    wchar_t target[kPathBuffer] = L"";
    if (QueryDosDeviceW(device, target, kPathBuffer)) drives.push_back({letter, UpToNul(target, kPathBuffer)});
  }
  return drives;
}

bool TerminateProcessByName(const std::wstring& name) {
  EnablePrivilege(L"SeDebugPrivilege");  // whatever happens, go on
  bool result = false;
  ForEachProcess([&](const PROCESSENTRY32W& e) {
    if (!IsProcessOf(UpToNul(e.szExeFile, MAX_PATH), name)) return;
    const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, e.th32ProcessID));
    result = process.IsValid() && TerminateProcess(process.Get(), 0);
  });
  return result;
}

std::optional<VersionFields> ReadVersionFields(const std::wstring& path) {
  const auto block = ReadVersionBlock(path);
  if (!block) return std::nullopt;
  VersionFields f;
  std::wstring* const fields[8] = {&f.productName,     &f.internalName,   &f.productVersion,  &f.companyName,
                                   &f.fileDescription, &f.legalCopyright, &f.legalTrademarks, &f.originalFilename};
  for (int i = 0; i < 8; ++i) *fields[i] = block->Value(kVersionKeys[i]);
  return f;
}

}  // namespace corvel
