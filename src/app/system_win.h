// System queries of the application shell that no other part needs.
#pragma once
#include <string>

#include "base/language.h"

namespace corvel {

// Whether user account control is on (EnableLUA of the system policies).
bool IsUacEnabled();

// The file version of a program as "a.b.c.d", or the fallback text when its
// version resource cannot be read.
std::wstring ProgramVersionText(const std::wstring& path, Language language);

}  // namespace corvel
