#include "tools/autostart_page_window.h"

#include <shlobj.h>

#include <algorithm>

#include "base/errors.h"
#include "base/path.h"
#include "base/text.h"
#include "tools/autostart.h"
#include "tools/autostart_win.h"
#include "tools/check_user_window.h"
#include "tools/process_page_window.h"
#include "tools/processes.h"
#include "win/control_wrappers.h"
#include "win/folders.h"
#include "win/system_message.h"

namespace corvel {

namespace {

constexpr const wchar_t* kProgramFilter = L"EXE/Scripts|*.exe;*.bat;*.cmd;*.vbs|All|*.*";

const ControlSpec kAutostartPage[] = {
    {Kind::Caption, L"Label98", L"Autostart list", {16, 12, 230, 14}, kBold},
    {Kind::ListBox, L"ListBoxAutoS", nullptr, {16, 30, 230, 300}},
    {Kind::Caption, L"Label131", L"Info", {260, 12, 300, 14}, kBold},
    {Kind::Memo, L"MemoAS", L"", {260, 30, 424, 300}, kReadOnly | kHScroll | kNoBorder},
    {Kind::Button, L"BitBtnAdd", L"Add", {16, 342, 100, 25}, 0, L"Add program to autostart"},
    {Kind::Button, L"BitBtn39", L"Remove", {124, 342, 100, 25}, 0, L"Remove entry from autostart"},
    {Kind::Button, L"BitBtn40", L"Google Search", {232, 342, 110, 25}},
    {Kind::GroupBox, L"JvPanel2", L"", {472, 332, 212, 40}},
    {Kind::Radio, L"RadioButton3", L"Google.com", {482, 348, 96, 18}, kGroupStart},
    {Kind::Radio, L"RadioButton4", L"Google.de", {582, 348, 96, 18}},
};

// A Run value the registry would not let us write or delete.
Error ValueRefused(const std::wstring& name, LSTATUS status) {
  return Error(L"Registry: \"" + name + L"\": " + SystemMessage(static_cast<DWORD>(status)));
}

bool Has(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::span<const ControlSpec> AutostartPage::Layout() const { return kAutostartPage; }

void AutostartPage::Bind() {
  form().SetCtlChecked(L"RadioButton3", true);
  form().OnSelect(L"ListBoxAutoS", [this] { ListBoxAutoSClick(); });
  form().OnClick(L"BitBtnAdd", [this] { BitBtnAddClick(); });
  form().OnClick(L"BitBtn39", [this] { BitBtn39Click(); });
  form().OnClick(L"BitBtn40", [this] { BitBtn40Click(); });
}

std::wstring AutostartPage::CommonStartup() const { return SpecialFolder(CSIDL_COMMON_STARTUP); }
std::wstring AutostartPage::UserStartup() const { return SpecialFolder(CSIDL_STARTUP); }

void AutostartPage::FillAutostartList() {
  SetText(Ctl(L"MemoAS"), L"");
  ListBox list(Ctl(L"ListBoxAutoS"));
  list.Clear();
  fileList1_ = StartupFolderNames(CommonStartup());
  fileListStart_ = StartupFolderNames(UserStartup());
  // The machine's values first (its own view, then the one of 32-bit
  // programs), then the user's. Read access is enough to list them.
  for (const RunKey* run : {&kMachineRun, &kMachineRun32, &kUserRun}) {
    const auto key = OpenRunKey(*run, RunAccess::Read);
    if (!key) continue;  // a key that cannot be opened adds nothing, silently
    try {
      for (const std::wstring& name : key->ValueNames()) list.Add(name);
    } catch (const Error&) {
      dialogs().ShowMessageBox(messages_[Msg::AccessDeniedAdmin], L"Registry", mb::kIconWarning | mb::kOk);
    }
  }
  for (const std::wstring& name : fileList1_) list.Add(name);
  for (const std::wstring& name : fileListStart_) list.Add(name);
}

void AutostartPage::ListBoxAutoSClick() {
  ListBox list(Ctl(L"ListBoxAutoS"));
  const int selected = list.Selected();
  if (selected < 0) return;
  const std::wstring name = list.Item(selected);
  if (Trim(name).empty()) return;
  ShowAutostartDetails(name);
}

void AutostartPage::ShowAutostartDetails(const std::wstring& name) {
  HWND memo = Ctl(L"MemoAS");
  SetText(memo, L"");
  std::vector<std::wstring> lines;
  auto show = [&] { SetText(memo, JoinLinesCrLf(lines)); };
  auto append = [&](const std::vector<std::wstring>& more) { lines.insert(lines.end(), more.begin(), more.end()); };
  if (Has(fileList1_, name)) {
    const std::wstring path = JoinPath(CommonStartup(), name);
    append(VersionDetailLines(path));  // nothing for a shortcut, whose name lacks ".lnk"
    append(CommonFolderDetailLines(path));
    return show();
  }
  if (Has(fileListStart_, name)) {
    append(UserFolderDetailLines(UserStartup(), name));
    return show();
  }
  for (const RunKey* run : {&kUserRun, &kMachineRun, &kMachineRun32}) {
    const auto key = OpenRunKey(*run, RunAccess::Read);
    if (!key) {
      if (run == &kMachineRun32) break;  // a system without that view has nothing more to tell
      dialogs().ShowMessageBox(L"Key not found", kMainBoxCaption, mb::kOk);
      return;
    }
    if (key->ValueType(name.c_str()) != static_cast<DWORD>(REG_SZ)) continue;
    const std::wstring command = key->Text(name.c_str());
    append(VersionDetailLines(CommandToExePath(command)));
    append(RegistryDetailLines(run->rootName, run->shownPath, command));
    return show();
  }
  lines.push_back(L"No registry info available");
  show();
}

bool AutostartPage::AutostartValueExists(const std::wstring& name) const {
  for (const RunKey* run : {&kMachineRun, &kMachineRun32, &kUserRun})
    if (const auto key = OpenRunKey(*run, RunAccess::Read); key && key->ValueType(name.c_str())) return true;
  return false;
}

void AutostartPage::BitBtnAddClick() {
  FileDialogOptions options;
  options.filter = kProgramFilter;
  options.defaultExt = L"exe";
  std::wstring file;
  if (!dialogs().OpenFile(options, file)) return;
  const std::wstring name = FileNamePart(file);
  std::wstring typed = name;
  // A cancelled box keeps the preset: the program itself, no parameters.
  if (!dialogs().InputQuery(messages_[Msg::ParameterCaption], messages_[Msg::EnterStartParameter], typed)) typed = name;
  const std::wstring command = FolderPart(file) + typed;
  if (AutostartValueExists(name)) {
    dialogs().ShowMessageBox(messages_[Msg::EntryExists], L"Autorun", mb::kIconError | mb::kOk);
    return;
  }
  AddAutostartEntry(name, command);
  FillAutostartList();
}

void AutostartPage::AddAutostartEntry(const std::wstring& name, const std::wstring& command) {
  if (!checkUser_) return;
  const auto target = checkUser_->Choose();
  if (!target) return;
  switch (*target) {
    case AutostartTarget::MachineRun:
    case AutostartTarget::UserRun: {
      const RunKey& run = *target == AutostartTarget::MachineRun ? kMachineRun : kUserRun;
      LSTATUS status = ERROR_SUCCESS;
      const auto key = OpenRunKey(run, RunAccess::Add, &status);
      if (key) status = key->SetText(name.c_str(), command);
      // Refused (the machine's key without administrator rights): say which
      // value could not be written and change nothing else.
      if (status != ERROR_SUCCESS) throw ValueRefused(name, status);
      return;
    }
    case AutostartTarget::CommonFolder:
    case AutostartTarget::UserFolder: {
      const std::wstring folder = *target == AutostartTarget::CommonFolder ? CommonStartup() : UserStartup();
      if (!folder.empty() && CopyFileW(command.c_str(), JoinPath(folder, name).c_str(), FALSE))
        dialogs().ShowMessageBox(messages_[Msg::AutostartAdded], kMainBoxCaption, mb::kIconInformation | mb::kOk);
      else
        dialogs().ShowMessageBox(messages_[Msg::AutostartCopyFailed], kMainBoxCaption, mb::kIconError | mb::kOk);
      return;
    }
  }
}

void AutostartPage::BitBtn39Click() {
  ListBox list(Ctl(L"ListBoxAutoS"));
  const int selected = list.Selected();
  if (selected < 0) return;
  const std::wstring name = list.Item(selected);
  if (dialogs().ShowMessageBox(RemoveQuestion(name, language_), L"Autostart", mb::kIconQuestion | mb::kYesNo) !=
      mb::kIdYes)
    return;
  const bool removedValue = RemoveAutostartEntry(name);
  FillAutostartList();
  if (removedValue)
    dialogs().ShowMessageBox(RemovedText(name, language_), L"Registry", mb::kIconInformation | mb::kOk);
}

bool AutostartPage::DeleteStartupFile(const std::wstring& folder, const std::wstring& name) {
  std::wstring path = JoinPath(folder, name + L".lnk");
  if (DeleteFileW(path.c_str())) return true;
  path = JoinPath(folder, name);
  if (DeleteFileW(path.c_str())) return true;
  dialogs().MessageDlg(messages_[Msg::DeleteFileFailed] + path, DlgType::Warning, kBtnOk);
  return false;
}

bool AutostartPage::RemoveAutostartEntry(const std::wstring& name) {
  if (Has(fileList1_, name)) {
    DeleteStartupFile(CommonStartup(), name);
    return false;
  }
  if (Has(fileListStart_, name)) {
    DeleteStartupFile(UserStartup(), name);
    return false;
  }
  // The user's value first, then the machine's, then the 32-bit view's. A
  // key is opened for writing only where it holds the value, so a refused
  // write names the value instead of passing for a missing key.
  for (const RunKey* run : {&kUserRun, &kMachineRun, &kMachineRun32}) {
    const auto key = OpenRunKey(*run, RunAccess::Read);
    if (!key) {
      if (run == &kMachineRun32) break;
      dialogs().ShowMessageBox(L"Key not found", L"Registry", mb::kIconWarning | mb::kOk);
      return false;
    }
    if (!key->ValueType(name.c_str())) continue;
    LSTATUS status = ERROR_SUCCESS;
    const auto writable = OpenRunKey(*run, RunAccess::Remove, &status);
    if (writable) status = writable->DeleteValue(name.c_str());
    if (status != ERROR_SUCCESS) throw ValueRefused(name, status);
    return true;
  }
  dialogs().ShowMessageBox(name + L" not found!", L"Registry", mb::kIconWarning | mb::kOk);
  return false;
}

void AutostartPage::BitBtn40Click() {
  ListBox list(Ctl(L"ListBoxAutoS"));
  const int selected = list.Selected();
  if (selected < 0) return;
  ops_.ShellOpen(WebSearchUrl(list.Item(selected), form().CtlChecked(L"RadioButton3")), L"");
}

}  // namespace corvel
