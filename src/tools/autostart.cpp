#include "tools/autostart.h"

#include "base/text.h"

namespace corvel {

std::wstring CommandToExePath(std::wstring_view command) {
  const std::wstring text = AsciiLower(RemoveAll(command, L"\""));
  const std::size_t exe = text.find(L".exe");
  return exe == std::wstring::npos ? std::wstring() : text.substr(0, exe + 4);
}

std::vector<std::wstring> RegistryDetailLines(std::wstring_view root, std::wstring_view key, std::wstring_view command) {
  return {L" ", L"Registry Entry:", L"Root:  " + std::wstring(root), L"Key:   " + std::wstring(key),
          L"Value: " + std::wstring(command)};
}

std::vector<std::wstring> CommonFolderDetailLines(std::wstring_view path) {
  return {L" ", L"Autostart folder:", std::wstring(path)};
}

std::vector<std::wstring> UserFolderDetailLines(std::wstring_view folder, std::wstring_view name) {
  return {L" ", L"Autostart folder:", std::wstring(folder), L"Command: " + std::wstring(name)};
}

std::wstring RemoveQuestion(std::wstring_view name, Language language) {
  return language.German() ? std::wstring(name) + L" entfernen?" : L"Remove " + std::wstring(name) + L"?";
}

std::wstring RemovedText(std::wstring_view name, Language language) {
  return std::wstring(name) + language.Pick(L" entfernt.", L" removed.");
}

const wchar_t* const kAutostartTargetCaptions[4] = {L"Registry>All UsReers", L"Regitry>Current User",
                                                    L"Autostart Folder1 (All Users)",
                                                    L"Autostart Folder2 (Current User)"};

}  // namespace corvel
