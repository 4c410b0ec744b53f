// The delete-at-restart request of Windows 9x: a "NUL=" line in the [rename]
// section of wininit.ini. Portable.
#pragma once
#include <string>
#include <vector>

namespace corvel {

// After every "[rename]" line (any case) a line "NUL=" + shortPath. No lines
// (or an unreadable file) give the section with that one line; lines without
// a "[rename]" line come back unchanged.
std::vector<std::wstring> AddWininitDeletion(const std::vector<std::wstring>& lines, const std::wstring& shortPath);

}  // namespace corvel
