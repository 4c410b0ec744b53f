#include "cleaner/filesystem_win.h"

#include <winternl.h>

#include <optional>

#include "base/datetime.h"

namespace corvel {
namespace {

// Opening a name relative to a folder handle and asking a handle for its
// facts in one call are native functions without a Win32 form; ntdll is in
// every process.
using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                        ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using NtQueryInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);

struct Native {
  NtCreateFileFn create = nullptr;
  NtQueryInformationFileFn query = nullptr;
};

const Native& NativeFunctions() {
  static const Native native = [] {
    Native n;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
      n.create = reinterpret_cast<NtCreateFileFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtCreateFile")));
      n.query = reinterpret_cast<NtQueryInformationFileFn>(
          reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")));
    }
    return n;
  }();
  return native;
}

constexpr NTSTATUS kAccessDenied = static_cast<NTSTATUS>(0xC0000022);
constexpr NTSTATUS kSharingViolation = static_cast<NTSTATUS>(0xC0000043);

// Not there, or not what was asked for (a folder where a file was meant, or
// the other way round): for the engine it does not exist.
bool IsMissing(NTSTATUS status) {
  switch (static_cast<unsigned long>(status)) {
    case 0xC0000034:  // object name not found
    case 0xC000003A:  // object path not found
    case 0xC0000033:  // object name invalid
    case 0xC0000103:  // not a directory
    case 0xC00000BA:  // file is a directory
    case 0xC0000056:  // delete pending
      return true;
  }
  return false;
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
         error == ERROR_DIRECTORY || error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME;
}

// The path as the wide functions take it literally: "\\?\" before an
// absolute path, nothing normalised.
std::wstring Literal(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  return L"\\\\?\\" + path;
}

struct NetworkOpenInfo {  // FILE_NETWORK_OPEN_INFORMATION
  LARGE_INTEGER creation, access, write, change, allocation, end;
  ULONG attributes;
};

// `name` in the folder `parent`, the name itself when it is a link.
NTSTATUS OpenIn(HANDLE parent, const std::wstring& name, ACCESS_MASK access, bool folder, UniqueHandle& out) {
  const Native& nt = NativeFunctions();
  if (!nt.create || name.size() > 32767) return kAccessDenied;
  UNICODE_STRING text;
  text.Buffer = const_cast<wchar_t*>(name.c_str());
  text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE h = nullptr;
  const ULONG options =
      FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT | (folder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE);
  const NTSTATUS status = nt.create(&h, access | SYNCHRONIZE, &attributes, &io, nullptr, 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN, options, nullptr, 0);
  out = UniqueHandle(status >= 0 ? h : nullptr);
  return status;
}

bool Query(HANDLE h, NetworkOpenInfo& info) {
  const Native& nt = NativeFunctions();
  IO_STATUS_BLOCK io{};
  return nt.query && nt.query(h, &io, &info, sizeof info, FileNetworkOpenInformation) >= 0;
}

// Local time to the millisecond, not through the DOS form: the age test
// compares with a midnight, and a date after 2107 must still be a date.
std::optional<double> LocalSerial(const LARGE_INTEGER& utc) {
  if (utc.QuadPart <= 0) return std::nullopt;  // no time kept
  const FILETIME time{utc.LowPart, static_cast<DWORD>(utc.HighPart)};
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st)) return std::nullopt;
  double date = 0, clock = 0;
  if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, date) ||
      !TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, clock))
    return std::nullopt;
  return date + clock;
}

bool Dispose(HANDLE h) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool SetAttributes(HANDLE h, DWORD attributes) {
  FILE_BASIC_INFO basic{};  // times of 0 stay as they are
  basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  return SetFileInformationByHandle(h, FileBasicInfo, &basic, sizeof basic) != 0;
}

// The text after the last backslash.
std::wstring LastName(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

// The names of `folder` below `tree`; false when it is not in the tree.
bool NamesBelow(const std::wstring& tree, const std::wstring& folder, std::vector<std::wstring>& names) {
  names.clear();
  if (folder == tree) return true;
  const bool rootTree = !tree.empty() && tree.back() == L'\\';
  if (!folder.starts_with(tree) || (!rootTree && folder[tree.size()] != L'\\')) return false;
  std::size_t start = rootTree ? tree.size() : tree.size() + 1;
  while (start <= folder.size()) {
    std::size_t end = folder.find(L'\\', start);
    if (end == std::wstring::npos) end = folder.size();
    if (end > start) names.push_back(folder.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

}  // namespace

std::wstring Win32FileSystem::FullPath(const std::wstring& path) {
  if (path.empty() || path.starts_with(L"\\\\?\\")) return path;
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (!needed) return path;
  std::wstring full(needed, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (!written || written >= needed) return path;
  full.resize(written);
  return full;
}

FileSystem::Kind Win32FileSystem::Probe(const std::wstring& path) {
  if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) return Kind::Missing;
  const DWORD a = GetFileAttributesW(Literal(path).c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
  const bool folder = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (a & FILE_ATTRIBUTE_REPARSE_POINT) return folder ? Kind::FolderLink : Kind::FileLink;
  return folder ? Kind::Folder : Kind::File;
}

bool Win32FileSystem::EndsAt(const std::wstring& tree, const std::wstring& folder) const {
  std::vector<std::wstring> names;
  if (tree != tree_ || !NamesBelow(tree, folder, names) || names.size() + 1 != chain_.size()) return false;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (chain_[i + 1].name != names[i]) return false;
  return true;
}

Win32FileSystem::Reach Win32FileSystem::Enter(const std::wstring& tree, const std::wstring& folder) {
  if (chain_.empty() || tree != tree_) {
    chain_.clear();
    tree_ = tree;
    // The tree as the rule names it: a link there is followed.
    auto open = [&](DWORD access) {
      return UniqueHandle(CreateFileW(Literal(tree).c_str(), access | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    };
    Opened root{L"", open(FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES), true};
    if (!root.handle.IsValid() && GetLastError() == ERROR_ACCESS_DENIED) {
      root.listable = false;  // a single file in it may still be reached
      root.handle = open(FILE_READ_ATTRIBUTES);
    }
    if (!root.handle.IsValid()) return IsMissing(GetLastError()) ? Reach::Missing : Reach::Denied;
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(root.handle.Get(), FileBasicInfo, &basic, sizeof basic)) return Reach::Denied;
    if (!(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return Reach::Missing;
    chain_.push_back(std::move(root));
  }
  std::vector<std::wstring> names;
  if (!NamesBelow(tree, folder, names)) return Reach::Missing;  // a path outside the tree is never reached
  std::size_t kept = 0;
  while (kept < names.size() && kept + 1 < chain_.size() && chain_[kept + 1].name == names[kept]) ++kept;
  chain_.resize(kept + 1);
  for (std::size_t i = kept; i < names.size(); ++i) {
    // Each access is asked for only where it is granted; a folder we may
    // not delete is still walked, one we may not list still passed through.
    Opened next{names[i], {}, true, true};
    const ACCESS_MASK list = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
    NTSTATUS status = OpenIn(chain_.back().handle.Get(), names[i], list | DELETE, true, next.handle);
    if (status == kAccessDenied || status == kSharingViolation) {
      next.deletable = false;
      status = OpenIn(chain_.back().handle.Get(), names[i], list, true, next.handle);
    }
    if (status == kAccessDenied) {
      next.listable = false;
      status = OpenIn(chain_.back().handle.Get(), names[i], FILE_READ_ATTRIBUTES, true, next.handle);
    }
    if (status < 0) return IsMissing(status) ? Reach::Missing : Reach::Denied;
    NetworkOpenInfo info{};
    if (!Query(next.handle.Get(), info)) return Reach::Denied;
    // Below the tree a link is no folder: it is neither entered nor followed.
    if (info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Reach::Missing;
    chain_.push_back(std::move(next));
  }
  return Reach::Open;
}

FileSystem::Listing Win32FileSystem::List(const std::wstring& tree, const std::wstring& folder,
                                          std::vector<FileEntry>& entries) {
  entries.clear();
  switch (Enter(tree, folder)) {
    case Reach::Missing: return Listing::Missing;
    case Reach::Denied: return Listing::Denied;
    case Reach::Open: break;
  }
  if (!chain_.back().listable) return Listing::Denied;
  std::vector<unsigned char> buffer(64 * 1024);
  for (bool first = true;; first = false) {
    if (!GetFileInformationByHandleEx(chain_.back().handle.Get(), first ? FileFullDirectoryRestartInfo : FileFullDirectoryInfo,
                                      buffer.data(), static_cast<DWORD>(buffer.size())))
      // A listing that breaks off is no complete listing.
      return GetLastError() == ERROR_NO_MORE_FILES ? Listing::Listed : Listing::Denied;
    for (std::size_t at = 0;;) {
      const auto* e = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer.data() + at);
      std::wstring name(e->FileName, e->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L"..")
        entries.push_back({std::move(name), (e->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (e->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
      if (!e->NextEntryOffset) break;
      at += e->NextEntryOffset;
    }
  }
}

FileSystem::Outcome Win32FileSystem::RemoveFile(const std::wstring& tree, const std::wstring& path, const Allow& allow) {
  const std::wstring folder = ParentFolder(path);
  if (folder.empty() || folder == path) return Outcome::Missing;
  switch (Enter(tree, folder)) {
    case Reach::Missing: return Outcome::Missing;
    case Reach::Denied: return Outcome::Failed;
    case Reach::Open: break;
  }
  HANDLE parent = chain_.back().handle.Get();
  const std::wstring name = LastName(path);
  UniqueHandle file;
  bool canClear = true;  // may clear a read-only attribute through the handle
  NTSTATUS status = OpenIn(parent, name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, false, file);
  if (status == kAccessDenied) {
    canClear = false;
    status = OpenIn(parent, name, DELETE | FILE_READ_ATTRIBUTES, false, file);
  }
  if (status < 0) {
    if (IsMissing(status)) return Outcome::Missing;
    // Held open by someone else, or not ours to delete. A file the rule
    // would keep anyway is not reported.
    if (status != kSharingViolation && status != kAccessDenied) return Outcome::Failed;
    UniqueHandle look;
    NetworkOpenInfo info{};
    if (OpenIn(parent, name, FILE_READ_ATTRIBUTES, false, look) >= 0 && Query(look.Get(), info)) {
      if (info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Outcome::Refused;
      if (!allow({LocalSerial(info.write), static_cast<std::uint64_t>(info.end.QuadPart)})) return Outcome::Refused;
    }
    return Outcome::Failed;
  }
  NetworkOpenInfo info{};
  if (!Query(file.Get(), info)) return Outcome::Failed;
  if (info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Outcome::Refused;  // a link is no file of its own
  if (!allow({LocalSerial(info.write), static_cast<std::uint64_t>(info.end.QuadPart)})) return Outcome::Refused;
  if (Dispose(file.Get())) return Outcome::Done;  // gone when the handle closes
  // The second way: a read-only file is deleted once the attribute is
  // cleared, through the same handle; it is put back when that fails too.
  if (!canClear || !(info.attributes & FILE_ATTRIBUTE_READONLY)) return Outcome::Failed;
  if (!SetAttributes(file.Get(), info.attributes & ~FILE_ATTRIBUTE_READONLY)) return Outcome::Failed;
  if (Dispose(file.Get())) return Outcome::Done;
  SetAttributes(file.Get(), info.attributes);
  return Outcome::Failed;
}

FileSystem::Outcome Win32FileSystem::RemoveFolder(const std::wstring& tree, const std::wstring& path) {
  const std::wstring folder = ParentFolder(path);
  if (path == tree || folder.empty() || folder == path) return Outcome::Refused;
  // The walk left us in this folder: it is removed through that handle,
  // which was checked to be a plain folder of the tree when it was opened.
  if (EndsAt(tree, path) && chain_.size() > 1 && chain_.back().deletable) {
    const bool removed = Dispose(chain_.back().handle.Get());  // fails unless empty
    chain_.pop_back();                                          // gone with its handle
    return removed ? Outcome::Done : Outcome::Failed;
  }
  // Entering the parent lets go of our own handles on the folder and below.
  switch (Enter(tree, folder)) {
    case Reach::Missing: return Outcome::Missing;
    case Reach::Denied: return Outcome::Failed;
    case Reach::Open: break;
  }
  UniqueHandle handle;
  const NTSTATUS status = OpenIn(chain_.back().handle.Get(), LastName(path), DELETE | FILE_READ_ATTRIBUTES, true, handle);
  if (status < 0) return IsMissing(status) ? Outcome::Missing : Outcome::Failed;
  NetworkOpenInfo info{};
  if (!Query(handle.Get(), info)) return Outcome::Failed;
  // RemoveDirectoryW would remove a junction or a directory link as well.
  if (info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Outcome::Refused;
  return Dispose(handle.Get()) ? Outcome::Done : Outcome::Failed;  // fails unless empty
}

void Win32FileSystem::Close() {
  chain_.clear();
  tree_.clear();
}

}  // namespace corvel
