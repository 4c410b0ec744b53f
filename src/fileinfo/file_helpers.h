// Queries about one file for the file info window and the cleaner. None of
// them fails: a missing file gives 0 (or false). Dates are local date-time
// serials that went through the DOS packed form (two-second steps,
// 1980..2107). Portable header; implemented in file_helpers_win.cpp.
#pragma once
#include <cstdint>
#include <string>

namespace corvel {

// Size of the first directory entry matching `path` ("*" and "?" allowed);
// 0 when nothing matches or the entry is a folder.
std::uint64_t FileSizeOf(const std::wstring& path);
// Last-write time of the file; 0 when there is no such file (folders do not
// count), when the path holds a wildcard, or when its date has no DOS form.
double FileLastWritten(const std::wstring& path);
// Last-access time of the first entry matching `path` (wildcards allowed);
// 0 when nothing matches or its date has no DOS form.
double FileLastAccessed(const std::wstring& path);
// True when the file exists and cannot be opened exclusively for reading,
// writing and executing: open elsewhere, read-only, or not writable for us.
// False for a missing file and for a folder.
bool FileInUse(const std::wstring& path);

// The form of `path` to hand to the wide file functions: a path of MAX_PATH
// characters or more is made absolute and canonical and gets the
// extended-length prefix ("\\?\" or "\\?\UNC\"); shorter paths and paths
// that already carry a prefix are returned as they are.
std::wstring ExtendedLengthPath(const std::wstring& path);

}  // namespace corvel
