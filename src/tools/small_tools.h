// Rules of the small tools of the Control and Misc pages: the user list's
// texts, the command prompt's parameters and where Windows Update is.
// Portable.
#pragma once
#include <string>

namespace corvel {

// "Logged in" when the current user's name occurs in the account name
// (letter case as written), else "Logged off".
const wchar_t* UserStatus(const std::wstring& account, const std::wstring& currentUser);
// 0 "Guest", 1 "User", 2 "Admin", any other "Unknown".
const wchar_t* PrivilegeName(unsigned long level);

// cmd.exe's parameters: "/K " and the user's.
std::wstring DosParameters(const std::wstring& params);

// What "Windows Update" opens: a program with parameters, or an address.
struct UpdateTarget {
  std::wstring file, parameters;
};
// From Windows 6 on the update program of the system folder; Windows 10 and
// later have no such program and get the update page of Settings instead;
// before 6 the update web site in German for a German keyboard layout.
UpdateTarget WindowsUpdateTarget(unsigned windowsMajor, const std::wstring& systemFolder,
                                 const std::wstring& keyboardLayout);

}  // namespace corvel
