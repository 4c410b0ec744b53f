#include "cleaner/cloptions_window.h"

#include "base/messages.h"
#include "base/path.h"
#include "win/folders.h"
#include "win/help.h"
#include "base/errors.h"
#include "cleaner/rule_list.h"
#include "win/files.h"

namespace corvel {

namespace {

constexpr int kClientWidth = 400, kClientHeight = 318;
constexpr RECT kToolButton{0, 0, 27, 27};

// Tool buttons left to right as the tool bar shows them; the captions stand
// in for the images.
const ControlSpec kControls[] = {
    {Kind::ToolBar, L"ToolBar1", nullptr, {2, 2, 396, 29}},
    {Kind::ToolButton, L"ToolButton4", L"...", kToolButton, 0, L"Verzeichnis ausw\u00e4hlen"},
    {Kind::ToolButton, L"ToolButton5", L"+", kToolButton, 0, L"Eintrag zur Liste hinzuf\u00fcgen"},
    {Kind::ToolButton, L"ToolButton2", L"-", kToolButton, 0, L"Eintrag l\u00f6schen"},
    {Kind::ToolButton, L"ToolButton3", L"S", kToolButton, 0, L"Einstellungen speichern"},
    {Kind::ToolButton, L"ToolButton6", L"E", kToolButton, 0, L"Eintrag bearbeiten"},
    {Kind::ToolButton, L"ToolButton1", L"X", kToolButton, 0, L"Beenden"},
    {Kind::GroupBox, L"RadioGroup1", L"Dateioptionen", {8, 36, 384, 64}},
    {Kind::Radio, L"RadioGroup1.Item0", L"Alle Dateien im Verzeichnis", {18, 54, 300, 17}, kGroupStart},
    {Kind::Radio, L"RadioGroup1.Item1", L"Dateiefilter:", {18, 76, 110, 17}},
    {Kind::Edit, L"Edit1", L"*.tmp", {132, 74, 150, 21}},
    {Kind::CheckBox, L"CheckBox2", L"Dateien, die \u00e4lter als:", {8, 110, 150, 17}},
    {Kind::Edit, L"EditTage", L"10", {162, 108, 30, 21}},
    {Kind::Caption, L"Label1", L"Tage sind.", {198, 111, 100, 14}},
    {Kind::CheckBox, L"CheckBox1", L"Unterverzeichnisse einbeziehen", {8, 136, 300, 17}},
    {Kind::Caption, L"EditPfad.EditLabel", L"Verzeichnis", {8, 160, 200, 14}},
    {Kind::Edit, L"EditPfad", L"", {8, 176, 384, 21}},
    {Kind::ListBox, L"ListBox1", nullptr, {8, 206, 384, 104}},
};

const LanguageText kTexts[] = {
    {L"", TextOf::Caption, L"Eigene Verzeichnisse hinzuf\u00fcgen", L"Add your own directories"},
    {L"RadioGroup1", TextOf::Caption, L"Dateioptionen", L"File options"},
    {L"RadioGroup1.Item0", TextOf::Caption, L"Alle Dateien im Verzeichnis", L"All files in directory"},
    {L"RadioGroup1.Item1", TextOf::Caption, L"Dateiefilter:", L"File mask:"},
    {L"CheckBox2", TextOf::Caption, L"Dateien, die \u00e4lter als:", L"Files older than:"},
    {L"CheckBox1", TextOf::Caption, L"Unterverzeichnisse einbeziehen", L"Include subdirectories"},
    {L"EditPfad.EditLabel", TextOf::Caption, L"Verzeichnis", L"Directory"},
    {L"Label1", TextOf::Caption, L"Tage sind.", L"days"},
    {L"ToolButton1", TextOf::Hint, L"Beenden", L"Quit"},
    {L"ToolButton2", TextOf::Hint, L"Eintrag l\u00f6schen", L"Delete item"},
    {L"ToolButton3", TextOf::Hint, L"Einstellungen speichern", L"Save settings"},
    {L"ToolButton4", TextOf::Hint, L"Verzeichnis ausw\u00e4hlen", L"Select directory"},
    {L"ToolButton5", TextOf::Hint, L"Eintrag zur Liste hinzuf\u00fcgen", L"Add item to list"},
    {L"ToolButton6", TextOf::Hint, L"Eintrag bearbeiten", L"Edit item"},
};

}  // namespace

TFormClOptions::TFormClOptions(Dialogs& dialogs, const CodePage& codePage, ApplicationHelp& help)
    : TwoLanguageForm(dialogs, L"TFormClOptions"), codePage_(codePage), help_(help) {}

void TFormClOptions::Create(HWND owner) {
  CreateForm(L"Eigene Verzeichnisse hinzuf\u00fcgen", kClientWidth, kClientHeight, owner);
  AddControls(kControls);
  HWND days = Ctl(L"EditTage");
  SetWindowLongW(days, GWL_STYLE, GetWindowLongW(days, GWL_STYLE) | ES_NUMBER);
  SendMessageW(days, EM_LIMITTEXT, 2, 0);
  SetChecked(Ctl(L"RadioGroup1.Item0"), true);
  OnClick(L"ToolButton4", [this] { ToolButton4Click(); });
  OnClick(L"ToolButton5", [this] { ToolButton5Click(); });
  OnClick(L"ToolButton2", [this] { ToolButton2Click(); });
  OnClick(L"ToolButton3", [this] { ToolButton3Click(); });
  OnClick(L"ToolButton6", [this] { ToolButton6Click(); });
  OnClick(L"ToolButton1", [this] { ToolButton1Click(); });
  keyPreview = true;
}

std::vector<std::wstring> TFormClOptions::Items() const { return List().Items(); }

RuleInputs TFormClOptions::Inputs() const {
  RuleInputs in;
  in.folder = GetText(Ctl(L"EditPfad"));
  in.maskChoice = IsChecked(Ctl(L"RadioGroup1.Item1")) ? 1 : 0;
  in.mask = GetText(Ctl(L"Edit1"));
  in.ageOn = IsChecked(Ctl(L"CheckBox2"));
  in.days = GetText(Ctl(L"EditTage"));
  in.subfolders = IsChecked(Ctl(L"CheckBox1"));
  return in;
}

void TFormClOptions::SetInputs(const RuleInputs& in) {
  SetText(Ctl(L"EditPfad"), in.folder);
  SetChecked(Ctl(L"RadioGroup1.Item0"), in.maskChoice == 0);
  SetChecked(Ctl(L"RadioGroup1.Item1"), in.maskChoice != 0);
  SetText(Ctl(L"Edit1"), in.mask);
  SetChecked(Ctl(L"CheckBox2"), in.ageOn);
  SetText(Ctl(L"EditTage"), in.days);
  SetChecked(Ctl(L"CheckBox1"), in.subfolders);
}

void TFormClOptions::Select(int index) { List().Select(index); }

void TFormClOptions::ResetInputs() {
  RuleInputs in;
  in.days = GetText(Ctl(L"EditTage"));  // the day count stays
  SetInputs(in);
}

void TFormClOptions::SetLanguageTexts() { ApplyLanguage(kTexts); }

void TFormClOptions::ErrorBox(const wchar_t* german, const wchar_t* english, unsigned icon) {
  dialogs().ShowMessageBox(language.Pick(german, english), language.Pick(L"Optionen", L"Options"), mb::kOk | icon);
}

void TFormClOptions::FormShow() {
  List().Clear();
  memo_.clear();
  ResetInputs();
  changed_ = false;
  SetLanguageTexts();
  unreadList_.clear();
  if (listFile.empty()) return;
  std::optional<std::string> bytes;
  try {
    bytes = ReadWholeFile(listFile);
  } catch (const Error& e) {
    // The list exists but the window does not show it: a save now would
    // replace every rule the user has. The error box shows why.
    unreadList_ = e.text();
    throw;
  }
  if (!bytes) return;
  for (const std::wstring& line : DecodeRuleList(*bytes, codePage_)) List().Add(line);
}

void TFormClOptions::ToolButton4Click() {
  std::wstring folder = GetText(Ctl(L"EditPfad"));
  if (dialogs().SelectFolder(language.Pick(L"Verzeichnis ausw\u00e4hlen", L"Select directory"), folder))
    SetText(Ctl(L"EditPfad"), folder);
}

void TFormClOptions::ToolButton5Click() {
  std::wstring line;
  switch (FormRuleLine(Inputs(), line)) {
    case RuleInputError::NoPath: return ErrorBox(L"Keine Pfadangabe vorhanden!", L"No path selected!", mb::kIconError);
    case RuleInputError::ZeroDays:
    case RuleInputError::BadDays:
      return ErrorBox(L"Wert f\u00fcr Tage darf nicht 0 sein", L"0 days is not valid!", mb::kIconError);
    case RuleInputError::InvalidMask:
      return ErrorBox(L"Ung\u00fcltiger Dateifilter!", L"Invalid file mask!", mb::kIconError);
    case RuleInputError::None: break;
  }
  if (!line.empty()) {
    List().Add(line);
    changed_ = true;
  }
  ResetInputs();
}

void TFormClOptions::ToolButton6Click() {
  ListBox list = List();
  const int index = list.Selected();
  if (index < 0) return ErrorBox(L"Kein Eintrag ausgew\u00e4hlt!", L"No item selected!", mb::kIconWarning);
  RuleInputs in = Inputs();
  TakeRuleBack(list.Item(index), in);
  SetInputs(in);
  list.Delete(index);
  changed_ = true;
}

void TFormClOptions::ToolButton2Click() {
  ListBox list = List();
  const int index = list.Selected();
  if (index >= 0) list.Delete(index);
  changed_ = true;
}

bool TFormClOptions::Save() {
  // Refused until the list has been read: the error box shows the reason.
  if (!unreadList_.empty()) throw InOutError(unreadList_);
  memo_.clear();
  const std::wstring folder = FolderPart(listFile);
  // One level only. A folder that cannot be made ends the save in the
  // standard error box; the changed flag stays.
  if (!folder.empty() && !DirectoryExists(folder) && !CreateDirectoryW(folder.c_str(), nullptr)) {
    const DWORD error = GetLastError();
    if (!DirectoryExists(folder)) throw InOutError(error);
  }
  // An empty list is written as well: the rules the user deleted must go.
  const std::vector<std::wstring> items = Items();
  for (const std::wstring& item : items) memo_ += item + L"\r\n";
  try {
    WriteFileReplacing(listFile, EncodeRuleList(items, codePage_));
  } catch (const Error&) {
    ErrorBox(L"Fehler beim Speichern!", L"Error saving list file!", mb::kIconError);
    return false;  // still changed: the rules are not on disk
  }
  changed_ = false;
  return true;
}

void TFormClOptions::ToolButton3Click() { Save(); }

void TFormClOptions::ToolButton1Click() { FormCloseRequested(); }

void TFormClOptions::FormCloseRequested() {
  if (FormCloseQuery()) EndModal(IDCANCEL);
}

bool TFormClOptions::FormCloseQuery() {
  if (!changed_) return true;
  const int answer = dialogs().ShowMessageBox(language.Pick(L"Jetzt speichern?", L"Save now?"),
                                              language.Pick(L"\u00c4nderungen", L"Changes"), mb::kYesNo | mb::kIconQuestion);
  // A save that fails on the way out keeps the window open, so the rules are
  // not lost with it; closing again and answering No leaves without them.
  return answer != mb::kIdYes || Save();
}

bool TFormClOptions::PreviewKeyDown(WPARAM vk) {
  if (vk != VK_F1) return false;
  const std::wstring file = help_.File().empty() ? ProgramFolder() + HelpFileName(language) : help_.File();
  help_.Open(hwnd(), file, kHelpContext);
  return true;
}

}  // namespace corvel
