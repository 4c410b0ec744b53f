// Opening the HTML help files next to the program.
#pragma once
#include <windows.h>

#include <string>

namespace corvel {

// Opens a help context of an HTML help file; nothing happens when the help
// system or the file is missing.
void ShowHelpContext(HWND owner, const std::wstring& helpFile, unsigned context);

}  // namespace corvel
