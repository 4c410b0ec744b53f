#include "app/sysinfo_window.h"

#include <commctrl.h>

#include "app/about_window.h"
#include "app/system_win.h"
#include "base/errors.h"
#include "base/text.h"
#include "info/ping_window.h"
#include "win/control_wrappers.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/locale.h"
#include "win/privileges.h"
#include "win/two_language_form.h"

namespace corvel {

namespace {

constexpr int kClientWidth = 700, kClientHeight = 421;
constexpr const wchar_t* kOnlineAddress = L"https://corvel.example/";

const ControlSpec kMiscPage[] = {
    {Kind::Caption, L"Label6", L"Date/Time/Alarm", {16, 16, 200, 14}, kBold},
    {Kind::Button, L"ButtonHour", L"24 h", {16, 110, 60, 25}},
    {Kind::Caption, L"Label138", L"Stop watch", {16, 200, 200, 14}, kBold},
    {Kind::Value, L"LabelWatch", L"00:00:00", {16, 220, 150, 28}},
    {Kind::Button, L"ButtonWatch1", L"Start", {16, 256, 70, 25}},
    {Kind::Button, L"ButtonWatch2", L"Reset", {96, 256, 70, 25}},
    {Kind::Button, L"SpeedButton41", L"German", {520, 250, 150, 28}, kHidden},
    {Kind::Button, L"SpeedButton42", L"English", {520, 250, 150, 28}, kHidden},
    {Kind::Button, L"SpeedButton45", L"About...       ", {520, 284, 150, 28}},
    {Kind::Button, L"SpeedButton28", L"Online", {520, 318, 150, 28}},
    {Kind::Button, L"SpeedButton44", L"Quit", {520, 352, 150, 28}},
};

}  // namespace

const std::array<TFormSysInfo::PageDesign, TFormSysInfo::kPageCount> TFormSysInfo::kPages = {{
    {L"TabSheetWindows", L"System", RGB(170, 200, 235)},
    {L"TabSheetCPU", L"CPU", RGB(190, 220, 190)},
    {L"TabSheetFolders", L"Folders", RGB(235, 215, 170)},
    {L"TabSheetIdent", L"Network", RGB(180, 215, 230)},
    {L"TabSheetMem", L"Memory", RGB(215, 200, 235)},
    {L"TabSheetRes", L"Display", RGB(200, 230, 215)},
    {L"TabSheetMisc", L"APM/Sound", RGB(235, 200, 200)},
    {L"TabSheet1", L"Bios", RGB(220, 220, 190)},
    {L"TabSheet2", L"Mainboard", RGB(190, 205, 225)},
    {L"TabSheetClipBoard", L"Control", RGB(225, 210, 190)},
    {L"TabSheetProc", L"Process", RGB(200, 215, 200)},
    {L"TabSheetAStart", L"Autostart", RGB(230, 205, 220)},
    {L"TabSheetAbout", L"Misc", RGB(205, 215, 235)},
}};

TFormSysInfo::TFormSysInfo(const SysInfoSources& sources)
    : Form(sources.dialogs, L"TFormSysInfo"),
      help_(sources.help),
      codePage_(sources.codePage),
      ops_(sources.shell, sources.dialogs, messages_, sources.windowsMajor),
      wmi_(sources.wmi, *this),
      systemPage_(*this, wmi_, messages_, sources.drives),
      cpuPage_(*this, wmi_, sources.cpu),
      networkPage_(*this, wmi_, ops_, messages_, sources.codePage, sources.echo),
      memoryPage_(*this, sources.memory),
      displayPage_(*this, wmi_, messages_, sources.display),
      apmSoundPage_(*this, wmi_, sources.power, sources.sound, sources.windowsMajor),
      biosPage_(*this, wmi_, ops_),
      mainboardPage_(*this, wmi_, ops_),
      controlPage_(*this, sources.shell, ops_, messages_),
      processPage_(*this, messages_, ops_),
      autostartPage_(*this, messages_, ops_, uiLanguage_) {
  wmi_.SetDecimalSeparator(UserDecimalSeparator());
  // Start-up messages need their texts before the settings are loaded.
  messages_.Fill(Language::kGerman);
}

void TFormSysInfo::Create() {
  CreateForm(L"Corvel PRO", kClientWidth, kClientHeight, nullptr,
             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
  keyPreview = true;
  CreatePages();
  OnClick(L"SpeedButton41", [this] { BitBtn35Click(); });
  OnClick(L"SpeedButton42", [this] { BitBtn36Click(); });
  OnClick(L"SpeedButton45", [this] { BitBtnAboutClick(); });
  OnClick(L"SpeedButton44", [this] { BitBtn44Click(); });
  OnClick(L"SpeedButton28", [this] { SpeedButton28Click(); });
  OnClick(L"Buttoncalc", [this] { ButtoncalcClick(); });
  for (TabPage* page : std::initializer_list<TabPage*>{&systemPage_, &cpuPage_, &networkPage_, &memoryPage_,
                                                       &displayPage_, &apmSoundPage_, &biosPage_, &mainboardPage_,
                                                       &controlPage_, &processPage_, &autostartPage_})
    page->Bind();
}

void TFormSysInfo::SetTools(const SysInfoTools& tools) {
  tools_ = tools;
  networkPage_.SetPingWindow(tools.ping);
  autostartPage_.SetCheckUserWindow(tools.checkUser);
}

void TFormSysInfo::CreatePages() {
  std::vector<std::wstring> captions;
  for (const PageDesign& page : kPages) captions.emplace_back(page.caption);
  // Narrow tab padding keeps all thirteen captions on one row.
  pageControl_ = AddTabControl(L"PageControl1", {0, 0, kClientWidth, kClientHeight}, captions, {2, 3});
  const std::span<const ControlSpec> tables[kPageCount] = {
      systemPage_.Layout(),   cpuPage_.Layout(),  {},                       networkPage_.Layout(), memoryPage_.Layout(),
      displayPage_.Layout(),  apmSoundPage_.Layout(), biosPage_.Layout(), mainboardPage_.Layout(), controlPage_.Layout(),
      processPage_.Layout(),  autostartPage_.Layout(), kMiscPage};
  for (int i = 0; i < kPageCount; ++i) {
    AddPage(kPages[i].sheet, kPages[i].bottom, pageControl_, tables[i]);
  }
  // The Control page is active as designed; nothing else is selected before showing.
  TabControl(pageControl_).Select(kControl);
  ShowSelectedPage();
  OnNotify(L"PageControl1", TCN_SELCHANGE, [this](const NMHDR&) {
    ShowSelectedPage();
    PageControl1Change();
  });
}

int TFormSysInfo::ActivePage() const { return TabControl(pageControl_).Selected(); }

bool TFormSysInfo::PageBuilt(int index) const {
  return pages().find(kPages[index].sheet)->second->Built();
}

void TFormSysInfo::ShowSelectedPage() {
  int active = ActivePage();
  for (int i = 0; i < kPageCount; ++i) {
    Page& page = *pages().find(kPages[i].sheet)->second;
    if (i == active) {
      page.Build();
      SetWindowPos(page.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    } else if (page.Built()) {
      ShowWindow(page.hwnd(), SW_HIDE);
    }
  }
}

LRESULT TFormSysInfo::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      // Activation checks run at start and whenever the user comes back from
      // one of the program's own windows, not when switching from another program.
      if (LOWORD(wp) != WA_INACTIVE && !closing_) {
        HWND previous = reinterpret_cast<HWND>(lp);
        bool fromOwnWindow = previous && dynamic_cast<Form*>(Window::FromHwnd(previous));
        if (!activatedOnce_ || fromOwnWindow) {
          activatedOnce_ = true;
          FormActivate();
        }
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return Form::OnMessage(msg, wp, lp);
}

// ---- start-up, activation, closing ----

void TFormSysInfo::FormShow() {
  keptFlag_ = true;
  iconCheckFlag_ = false;
  // Through the pages' pending values: start-up builds no page but the active one.
  SetCtlText(L"EditWidth", L"");
  SetCtlText(L"EditHeight", L"");
  SetCtlEnabled(L"ButtonWatch2", true);
  programFolder_ = ProgramFolder();
  dataFolder_ = DataFolder();
  iconPositionsFile_ = dataFolder_ + L"iconpos.csv";
  if (!EnablePrivilege(L"SeDebugPrivilege"))
    dialogs().ShowMessageBox(messages_[Msg::DebugPrivilegeFailed], L"Corvel", mb::kIconWarning | mb::kOk);
  if (!DirectoryExists(dataFolder_) && !CreateDirectoryW(dataFolder_.c_str(), nullptr)) throw InOutError(GetLastError());
  settingsFile_ = dataFolder_ + L"corvel.ini";
  LoadSettings();
  SelectHelpFile();
  SetLanguageButtons();
  RefreshActivePage();
  bool uac = IsUacEnabled();
  SetCtlVisible(L"ImageUACy", uac);
  SetCtlVisible(L"ImageUACn", !uac);
  FillMessageTable();
}

void TFormSysInfo::FormActivate() {
  displayPage_.CheckResolutionOnActivate();
  CheckIconPositionsOnActivate();
}

void TFormSysInfo::FormCloseRequested() {
  closing_ = true;
  FormClose();
  DestroyWindow(hwnd());
}

void TFormSysInfo::FormClose() {
  // Closing never reports a failed save; the window closes in every case.
  try {
    SaveSettings();
  } catch (...) {
  }
}

bool TFormSysInfo::PreviewKeyDown(WPARAM vk) {
  if (vk != VK_F1) return false;
  help_.Open(hwnd(), help_.File(), 200);
  return true;
}

// ---- refresh cycle ----

void TFormSysInfo::PageControl1Change() { RefreshActivePage(); }

void TFormSysInfo::RefreshActivePage() {
  // Every fill runs with the load timer stopped; the CPU page starts it again.
  cpuPage_.StopTimer1();
  // One answer per WMI class for the whole refresh; the next one asks afresh.
  WmiQueryService::Fill fill(wmi_);
  architecture_ = wmi_.WmiQuery(L"Win32_OperatingSystem", L"OSArchitecture");
  switch (ActivePage()) {
    case kSystem: systemPage_.FillSystemPage(architecture_); break;
    case kCpu: cpuPage_.FillCpuPage(); break;
    case kFolders: FillFoldersPage(); break;
    case kNetwork: networkPage_.FillNetworkPage(); break;
    case kMemory: memoryPage_.FillMemoryPage(); break;
    case kDisplay: displayPage_.FillDisplayPage(); break;
    case kApmSound: apmSoundPage_.FillApmSoundPage(); break;
    case kBios: biosPage_.FillBiosPage(); break;
    case kMainboard: mainboardPage_.FillMainboardPage(); break;
    case kControl: break;
    case kProcess: processPage_.BtnRefreshClick(); break;
    case kAutostart: autostartPage_.FillAutostartList(); break;
    case kMisc: MiscPageEntry(); break;
  }
}

// ---- Misc page ----

void TFormSysInfo::MiscPageEntry() {
  SetLanguageButtons();
  cpuPage_.StopTimer1();
  ResetStopwatchState();
  SetCtlText(L"ButtonHour", twelveHour_ ? L"24 h" : L"12 h");
}

void TFormSysInfo::ResetStopwatchState() {
  stopwatchRunning_ = false;
  stopwatchStart_ = 0;
  stopwatchTotal_ = 0;
}

// ---- language ----

void TFormSysInfo::SetLanguageButtons() {
  const bool english = uiLanguage_.English();
  SetCtlVisible(L"SpeedButton41", english);   // "German"
  SetCtlVisible(L"SpeedButton42", !english);  // "English"
}

void TFormSysInfo::SelectHelpFile() { help_.SetFile(programFolder_ + HelpFileName(uiLanguage_)); }

void TFormSysInfo::FillMessageTable() {
  messages_.Fill(uiLanguage_);
  SetCtlText(L"SpeedButton45", messages_.AboutCaption());
  SetCtlText(L"SpeedButton44", messages_.QuitCaption());
  SetCtlText(L"Label99", messages_.SoundNotice());
}

void TFormSysInfo::SwitchLanguage(Language language) {
  uiLanguage_ = language;
  SelectHelpFile();
  FillMessageTable();
  SetLanguageButtons();
}

void TFormSysInfo::BitBtn35Click() { SwitchLanguage(Language::kGerman); }

void TFormSysInfo::BitBtn36Click() { SwitchLanguage(Language::kEnglish); }

// ---- Misc page buttons ----

void TFormSysInfo::BitBtnAboutClick() {
  if (!tools_.about) return;
  tools_.about->SetVersionText(ProgramVersionText(ProgramPath(), uiLanguage_));
  ShowInLanguage(*tools_.about, uiLanguage_);
}

// "Calc": the calculator in the current interface language, modally.
void TFormSysInfo::ButtoncalcClick() {
  if (tools_.calc) ShowInLanguage(*tools_.calc, uiLanguage_);
}

void TFormSysInfo::BitBtn44Click() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TFormSysInfo::SpeedButton28Click() { ops_.ShellOpenUrl(kOnlineAddress); }

// ---- WMI outputs ----

void TFormSysInfo::SetAdapterLabel(AdapterLabel label, const std::wstring& text) {
  networkPage_.SetAdapterLabel(label, text);
}

void TFormSysInfo::SetAdapterStatus(bool ok) { networkPage_.SetAdapterStatus(ok); }

// ---- settings ----

SettingsFields TFormSysInfo::FieldsFromControls() const {
  SettingsFields f;
  f.line0 = line0_;
  f.line1 = line1_;
  f.server = CtlText(L"EditServer");
  f.user = CtlText(L"EditUser");
  f.password = CtlText(L"EditPassword");
  f.anonymous = CtlChecked(L"CheckBox1");
  f.ftpClient = CtlText(L"EditFtpClient");
  f.width = CtlText(L"EditWidth");
  f.height = CtlText(L"EditHeight");
  f.keptFlag = keptFlag_;
  f.uiLanguage = uiLanguage_.Stored();
  return f;
}

void TFormSysInfo::LoadSettings() {
  SettingsFields f = FieldsFromControls();
  ApplySettingsFile(ReadWholeFile(settingsFile_), codePage_, f);
  line0_ = f.line0;
  line1_ = f.line1;
  SetCtlText(L"EditServer", f.server);
  SetCtlText(L"EditUser", f.user);
  SetCtlText(L"EditPassword", f.password);
  SetCtlChecked(L"CheckBox1", f.anonymous);
  SetCtlText(L"EditFtpClient", f.ftpClient);
  SetCtlText(L"EditWidth", f.width);
  SetCtlText(L"EditHeight", f.height);
  keptFlag_ = f.keptFlag;
  uiLanguage_ = f.uiLanguage;
}

void TFormSysInfo::SaveSettings() {
  if (settingsFile_.empty()) return;  // the show step failed before the path was formed
  SettingsFields f = FieldsFromControls();
  std::string bytes = BuildSettingsFile(f, codePage_);
  SetCtlChecked(L"CheckBox1", f.anonymous);
  WriteFileReplacing(settingsFile_, bytes);
}

}  // namespace corvel
