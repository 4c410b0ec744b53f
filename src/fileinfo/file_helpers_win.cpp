#include "fileinfo/file_helpers.h"

#include <windows.h>

#include "base/datetime.h"
#include "win/handles.h"

namespace corvel {
namespace {

// The directory entry of the first match, or false when nothing matches.
bool FindFirstEntry(const std::wstring& path, WIN32_FIND_DATAW& data) {
  const UniqueFind find(FindFirstFileW(ExtendedLengthPath(path).c_str(), &data));
  return find.get() != INVALID_HANDLE_VALUE;
}

bool IsFolder(const WIN32_FIND_DATAW& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// UTC file time -> local time -> DOS packed -> serial; 0 when the date lies
// outside what the packed form can hold (before 1980 or after 2107).
// The year is checked here as well because not every implementation of
// FileTimeToDosDateTime refuses 2108 and later; a wrapped year would be a
// wrong date rather than none.
double FileTimeToSerial(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME st;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
  if (st.wYear < 1980 || st.wYear > 2107 || !FileTimeToDosDateTime(&local, &date, &time)) return 0;
  return DosDateTimeToSerial(date, time);
}

bool StartsWith(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

// The classic functions stop at MAX_PATH characters. With the "\\?\" prefix
// the wide functions take paths of up to 32,767 characters, but then they no
// longer resolve "..", "." or "/" themselves, so the path is made canonical
// first. Short paths keep the classic rules (trailing dots and blanks dropped).
std::wstring ExtendedLengthPath(const std::wstring& path) {
  if (path.size() < MAX_PATH || StartsWith(path, L"\\\\?\\")) return path;
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return path;
  full.resize(written);
  if (StartsWith(full, L"\\\\.\\")) return full;  // device path: leave alone
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::uint64_t FileSizeOf(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  if (!FindFirstEntry(path, data) || IsFolder(data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double FileLastWritten(const std::wstring& path) {
  // A file's name holds no wildcards: a pattern would answer for whatever
  // file happens to match first.
  if (path.find_first_of(L"*?") != std::wstring::npos) return 0;
  WIN32_FIND_DATAW data;
  if (!FindFirstEntry(path, data) || IsFolder(data)) return 0;
  return FileTimeToSerial(data.ftLastWriteTime);
}

double FileLastAccessed(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  if (!FindFirstEntry(path, data)) return 0;
  return FileTimeToSerial(data.ftLastAccessTime);
}

bool FileInUse(const std::wstring& path) {
  const std::wstring name = ExtendedLengthPath(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  // Windows refuses write access to a read-only file anyway; Wine running as
  // root would grant it, so the attribute answers first.
  if (attributes & FILE_ATTRIBUTE_READONLY) return true;
  // Asking for write access with no sharing fails for a file someone has
  // open, for a read-only one and for one we may not write.
  const UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file.IsValid();
}

}  // namespace corvel
