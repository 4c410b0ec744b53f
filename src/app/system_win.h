// Small system queries of the application shell.
#pragma once
#include <windows.h>

#include <string>

namespace corvel {

// Enables a privilege of the process token. True when the token cannot be
// opened (not reported) or the adjustment left no error; false when the token
// does not hold the privilege.
bool EnablePrivilege(const std::wstring& name);

// Whether user account control is on (EnableLUA of the system policies).
bool IsUacEnabled();

// The file version of a program as "a.b.c.d", or the fallback text when its
// version resource cannot be read.
std::wstring ProgramVersionText(const std::wstring& path, int uiLanguage);

// The Windows major version the system reports to the program.
unsigned ReportedWindowsMajor();

// The user's decimal separator ("." when the locale gives none).
wchar_t UserDecimalSeparator();

// The common application-data folder + "\corveldata\" (always ends with a backslash).
std::wstring DataFolder();

// The running program's full path.
std::wstring ProgramPath();

// The running program's folder, with a trailing backslash.
std::wstring ProgramFolder();

// Opens a help context of an HTML help file; nothing happens when the help
// system or the file is missing.
void ShowHelpContext(HWND owner, const std::wstring& helpFile, unsigned context);

}  // namespace corvel
