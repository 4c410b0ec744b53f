#include "base/shell.h"

namespace corvel {

namespace {
// ShellExecuteW reports failure with a value of 32 or less.
bool Started(std::uintptr_t result) { return result > 32; }
}  // namespace

const wchar_t* ShellOps::ElevationVerb(unsigned windowsMajor) { return windowsMajor >= 6 ? L"runas" : L"open"; }

std::wstring ShellOps::ExplorerParameters(const std::wstring& path) { return L" /e,  \"" + path + L"\""; }

bool ShellOps::ShellOpen(const std::wstring& file, const std::wstring& parameters) {
  return Started(shell_.Execute(L"open", file, parameters, sw::kShowNormal));
}

void ShellOps::ShellOpenUrl(const std::wstring& address) { shell_.Execute(L"open", address, L"", sw::kShow); }

bool ShellOps::RunElevated(const std::wstring& file, const std::wstring& parameters) {
  return Started(shell_.Execute(ElevationVerb(windowsMajor_), file, parameters, sw::kShowNormal));
}

void ShellOps::OpenInExplorer(const std::wstring& path) {
  if (!RunElevated(L"explorer.exe", ExplorerParameters(path)))
    dialogs_.ShowMessageBox(messages_[Msg::ExplorerFailed], kMainBoxCaption, mb::kIconError | mb::kOk);
}

void ShellOps::RunControlPanel(const std::wstring& applet) {
  shell_.Execute(L"open", L"rundll32.exe", L"shell32.dll,Control_RunDLL " + applet, sw::kShow);
}

}  // namespace corvel
