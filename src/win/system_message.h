// The operating system's text for an error code.
#pragma once
#include <windows.h>

#include <string>

namespace corvel {

// FormatMessageW's text for code, trimmed; "System error <code>" when the
// system has none.
std::wstring SystemMessage(DWORD code);

}  // namespace corvel
