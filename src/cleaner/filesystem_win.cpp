#include "cleaner/filesystem_win.h"

#include <shellapi.h>

#include "base/datetime.h"
#include "fileinfo/file_helpers.h"
#include "win/handles.h"

namespace corvel {
namespace {

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(ExtendedLengthPath(path).c_str()); }

bool IsPlainFile(DWORD a) {
  return a != INVALID_FILE_ATTRIBUTES && !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

}  // namespace

FileSystem::Kind Win32FileSystem::Probe(const std::wstring& path) {
  if (path.empty()) return Kind::Missing;
  const DWORD a = Attributes(path);
  if (a == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
  const bool folder = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (a & FILE_ATTRIBUTE_REPARSE_POINT) return folder ? Kind::FolderLink : Kind::FileLink;
  return folder ? Kind::Folder : Kind::File;
}

bool Win32FileSystem::List(const std::wstring& folder, std::vector<FileEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAW data;
  const UniqueFind find(FindFirstFileExW(ExtendedLengthPath(JoinPath(folder, L"*")).c_str(), FindExInfoBasic,
                                         &data, FindExSearchNameMatch, nullptr, 0));
  if (find.get() == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // a root with nothing
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileW(find.get(), &data));
  // A listing that breaks off is no complete listing.
  return GetLastError() == ERROR_NO_MORE_FILES;
}

// Local time to the millisecond, not through the DOS form: the age test
// compares with a midnight, and a date after 2107 must not read as 0 (which
// would pass every cut-off).
double Win32FileSystem::LastWritten(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
  double date = 0, time = 0;
  if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, date) ||
      !TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, time))
    return 0;
  return date + time;
}

std::uint64_t Win32FileSystem::SizeOf(const std::wstring& path) { return FileSizeOf(path); }

bool Win32FileSystem::RemoveFile(const std::wstring& path) {
  if (!IsPlainFile(Attributes(path))) return false;
  return DeleteFileW(ExtendedLengthPath(path).c_str()) != 0;
}

bool Win32FileSystem::ShellDelete(const std::wstring& path) {
  // The shell's delete takes wildcards and deletes folders with all they
  // hold: it only ever gets one plain file, checked right before.
  if (path.find_first_of(L"*?") != std::wstring::npos || !IsPlainFile(Attributes(path))) return false;
  if (path.size() < MAX_PATH) {
    std::wstring from = path;
    from.push_back(L'\0');  // the list ends with a second zero
    SHFILEOPSTRUCTW op{};
    op.hwnd = owner_;
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;  // 0x0414: no recycle bin
    if (SHFileOperationW(&op) == 0 && Attributes(path) == INVALID_FILE_ATTRIBUTES) return true;
  }
  // The shell takes no extended-length paths, and not every shell removes a
  // read-only file: what it does for one, done here. The attributes are put
  // back when the delete still fails.
  const std::wstring name = ExtendedLengthPath(path);
  const DWORD a = GetFileAttributesW(name.c_str());
  if (!IsPlainFile(a) || !(a & FILE_ATTRIBUTE_READONLY)) return false;
  if (!SetFileAttributesW(name.c_str(), a & ~FILE_ATTRIBUTE_READONLY)) return false;
  if (DeleteFileW(name.c_str())) return true;
  SetFileAttributesW(name.c_str(), a);
  return false;
}

bool Win32FileSystem::RemoveFolder(const std::wstring& path) {
  // RemoveDirectoryW would remove a junction or a directory link as well.
  const DWORD a = Attributes(path);
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  return RemoveDirectoryW(ExtendedLengthPath(path).c_str()) != 0;
}

}  // namespace corvel
