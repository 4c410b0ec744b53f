// Rules of the Autostart page that need no window or registry: the program
// path inside a command, the detail lines and the texts of adding and
// removing. Portable.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"

namespace corvel {

// The key of both Run sources, and of the 32-bit view on 64-bit Windows.
inline constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunKey32 = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

// Quotes removed, lower-cased, up to and including the first ".exe"; empty
// without one: "\"C:\\Prog\\A.EXE\" /min" -> "c:\\prog\\a.exe".
std::wstring CommandToExePath(std::wstring_view command);

// The lines after a Run value's version block: " ", "Registry Entry:",
// "Root:  " root, "Key:   " key, "Value: " command.
std::vector<std::wstring> RegistryDetailLines(std::wstring_view root, std::wstring_view key, std::wstring_view command);
// A file of the common startup folder: " ", "Autostart folder:", its path.
std::vector<std::wstring> CommonFolderDetailLines(std::wstring_view path);
// A file of the user's startup folder: " ", "Autostart folder:", the folder,
// "Command: " name.
std::vector<std::wstring> UserFolderDetailLines(std::wstring_view folder, std::wstring_view name);

// The removal question and the confirmation of a deleted value.
std::wstring RemoveQuestion(std::wstring_view name, Language language);
std::wstring RemovedText(std::wstring_view name, Language language);

// The targets of TFormCheckUser, in item order.
enum class AutostartTarget { MachineRun, UserRun, CommonFolder, UserFolder };
extern const wchar_t* const kAutostartTargetCaptions[4];

}  // namespace corvel
