#include "tools/process_page_window.h"

#include "base/errors.h"
#include "base/path.h"
#include "base/text.h"
#include "tools/processes.h"
#include "tools/processes_win.h"
#include "win/control_wrappers.h"
#include "win/cursor.h"
#include "win/folders.h"

namespace corvel {

namespace {

constexpr DWORD kKillWaitMs = 1000;

const ControlSpec kProcessPage[] = {
    {Kind::Caption, L"Label67", L"Processes", {16, 12, 220, 14}, kBold},
    {Kind::ListBox, L"ListBox1", nullptr, {16, 30, 230, 300}, kSorted},
    {Kind::Caption, L"Label68", L"Info", {260, 12, 300, 14}, kBold},
    {Kind::Memo, L"Memo1", L"", {260, 30, 424, 300}, kReadOnly | kHScroll | kNoBorder},
    {Kind::Button, L"BtnRefresh", L"Refresh", {16, 342, 100, 25}},
    {Kind::Button, L"BitBtn24", L"Hide Micosoft", {124, 342, 110, 25}},
    {Kind::Button, L"BtnKill", L"Kill task", {242, 342, 100, 25}},
    {Kind::Button, L"BitBtn41", L"Google Search", {350, 342, 110, 25}},
    {Kind::GroupBox, L"JvPanel1", L"", {472, 332, 212, 40}},
    {Kind::Radio, L"RadioButton1", L"Google.com", {482, 348, 96, 18}, kGroupStart},
    {Kind::Radio, L"RadioButton2", L"Google.de", {582, 348, 96, 18}},
    {Kind::ListBox, L"ListBox2", nullptr, {0, 0, 10, 10}, kSorted | kHidden},
};

}  // namespace

std::vector<std::wstring> VersionDetailLines(const std::wstring& path) {
  const auto fields = ReadVersionFields(path);
  return fields ? VersionBlockLines(*fields) : std::vector<std::wstring>{};
}

std::span<const ControlSpec> ProcessPage::Layout() const { return kProcessPage; }

void ProcessPage::Bind() {
  form().SetCtlChecked(L"RadioButton1", true);
  form().OnClick(L"BtnRefresh", [this] { BtnRefreshClick(); });
  form().OnSelect(L"ListBox1", [this] { ListBox1Click(); });
  form().OnClick(L"BitBtn24", [this] { BitBtn24Click(); });
  form().OnClick(L"BtnKill", [this] { BtnKillClick(); });
  form().OnClick(L"BitBtn41", [this] { BitBtn41Click(); });
}

void ProcessPage::BtnRefreshClick() { FillProcessList(); }

void ProcessPage::FillProcessList() {
  ListBox list(Ctl(L"ListBox1"));
  list.Clear();
  SetText(Ctl(L"Memo1"), L"");
  std::vector<std::wstring> names;
  for (const ProcessEntry& entry : TakeProcessSnapshot()) {  // a failing snapshot leaves the list empty
    list.Add(entry.exeFile);
    names.push_back(entry.exeFile);
  }
  if (const std::wstring suspects = SuspectText(names); !suspects.empty())
    dialogs().MessageDlg(messages_[Msg::SuspectProcess] + suspects, DlgType::Warning, kBtnOk);
}

void ProcessPage::ListBox1Click() {
  ListBox list(Ctl(L"ListBox1"));
  const int selected = list.Selected();
  if (selected >= 0) ShowProcessDetails(list.Item(selected));
}

void ProcessPage::ShowProcessDetails(const std::wstring& subject) {
  const long id = FindProcessIdByName(subject);
  std::wstring path = Trim(GetProcessModulePath(id));
  if (path.empty()) {
    try {
      if (IsNative64Process(id)) path = Trim(GetProcessImagePath(id));
    } catch (const Error&) {
      // No image path for that process.
    }
  }
  std::vector<std::wstring> lines = VersionDetailLines(path.empty() ? subject : path);
  if (lines.empty()) lines.push_back(L"No process info available.");
  lines.push_back(path.empty() ? L"No path information" : L"Path: " + path);
  SetText(Ctl(L"Memo1"), JoinLinesCrLf(lines));
}

void ProcessPage::BitBtn24Click() { HideMicrosoftProcesses(); }

void ProcessPage::HideMicrosoftProcesses() {
  const WaitCursor hourglass;
  ListBox list(Ctl(L"ListBox1")), kept(Ctl(L"ListBox2"));
  kept.Clear();
  for (const std::wstring& entry : NonSystemProcesses(list.Items())) kept.Add(entry);
  list.Clear();
  for (const std::wstring& entry : kept.Items()) list.Add(entry);
  InvalidateRect(list.hwnd(), nullptr, TRUE);
}

void ProcessPage::BtnKillClick() {
  ListBox list(Ctl(L"ListBox1"));
  const std::wstring entry = list.Item(list.Selected());  // nothing selected: the list-index error, nothing asked
  if (entry == FileNamePart(ProgramPath())) {
    PostMessageW(form().hwnd(), WM_CLOSE, 0, 0);  // our own program ends the orderly way, unasked
  } else if (dialogs().ShowMessageBox(messages_[Msg::ConfirmTerminate], kMainBoxCaption,
                                      mb::kIconQuestion | mb::kYesNo) == mb::kIdYes &&
             !TerminateProcessByName(entry)) {
    dialogs().MessageDlg(messages_[Msg::TerminateNeedsAdmin], DlgType::Error, kBtnOk);
  }
  Sleep(kKillWaitMs);
  BtnRefreshClick();
}

void ProcessPage::BitBtn41Click() {
  ListBox list(Ctl(L"ListBox1"));
  const int selected = list.Selected();
  if (selected < 0) return;
  ops_.ShellOpen(WebSearchUrl(list.Item(selected), form().CtlChecked(L"RadioButton1")), L"");
}

}  // namespace corvel
