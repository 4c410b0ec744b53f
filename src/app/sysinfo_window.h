// TFormSysInfo: the main window with its thirteen pages and the refresh cycle.
// The frame lives here (tab control, refresh, activation, language,
// settings); each page is a class of its own beside its rules.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "app/settings.h"
#include "base/codepage.h"
#include "base/dialogs.h"
#include "base/messages.h"
#include "base/shell.h"
#include "info/board_pages_window.h"
#include "info/cpu_page_window.h"
#include "info/display_page_window.h"
#include "info/memory_page_window.h"
#include "info/network_page_window.h"
#include "info/system_page_window.h"
#include "info/wmi_query.h"
#include "tools/autostart_page_window.h"
#include "tools/control_page_window.h"
#include "tools/process_page_window.h"
#include "win/form.h"
#include "win/help.h"

namespace corvel {

class TAboutBox;
class TFormCheckUser;
class TFormPing;
class TwoLanguageForm;

// Everything the main window reads the system through and starts things
// with, built once in main; tests hand in doubles the same way.
struct SysInfoSources {
  Dialogs& dialogs;
  Shell& shell;
  const CodePage& codePage;
  Wmi& wmi;
  ApplicationHelp& help;
  PowerSource& power;
  MemorySource& memory;
  DisplaySource& display;
  EchoClient& echo;
  SoundTest& sound;
  DriveSteps& drives;
  CpuSource& cpu;
  unsigned windowsMajor;  // as the system reported it at start
};

// The tool windows the main window opens, once they are created (null until then).
struct SysInfoTools {
  TAboutBox* about = nullptr;
  TwoLanguageForm* calc = nullptr;
  TFormPing* ping = nullptr;
  TFormCheckUser* checkUser = nullptr;
};

class TFormSysInfo : public Form, private WmiOutputs {
 public:
  // Page indices of PageControl1.
  enum PageIndex { kSystem, kCpu, kFolders, kNetwork, kMemory, kDisplay, kApmSound, kBios, kMainboard,
                   kControl, kProcess, kAutostart, kMisc, kPageCount };
  struct PageDesign {
    const wchar_t* sheet;    // tab sheet name
    const wchar_t* caption;  // tab caption
    COLORREF bottom;         // gradient colour at the bottom of the page
  };
  static const std::array<PageDesign, kPageCount> kPages;

  explicit TFormSysInfo(const SysInfoSources& sources);
  void Create();
  void SetTools(const SysInfoTools& tools);

  Language UiLanguage() const { return uiLanguage_; }
  const MessageTable& Messages() const { return messages_; }
  int ActivePage() const;
  bool PageBuilt(int index) const;  // pages are built when first shown or asked for
  const std::wstring& HelpFile() const { return help_.File(); }
  const std::wstring& SettingsFilePath() const { return settingsFile_; }
  // The OS architecture the last refresh read.
  const std::wstring& OsArchitecture() const { return architecture_; }
  const PingSession& Pinger() const { return networkPage_.Pinger(); }

  // Handlers of the design.
  void FormShow() override;
  void FormActivate();
  void FormClose();
  void PageControl1Change();
  void RefreshActivePage();
  void BitBtn35Click();  // "German"
  void BitBtn36Click();  // "English"
  void BitBtnAboutClick();
  void ButtoncalcClick();
  void BitBtn44Click();  // "Quit"
  void SpeedButton28Click();  // "Online"
  void Label64Click() { biosPage_.Label64Click(); }
  void Label33Click() { mainboardPage_.Label33Click(); }
  bool PreviewKeyDown(WPARAM vk) override;  // FormKeyDown

  void LoadSettings();
  void SaveSettings();
  void FillMessageTable();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormCloseRequested() override;

 private:
  // What WmiQuery writes besides its result: the Network page's adapter
  // fields and the Mainboard page's memory module table.
  void SetAdapterLabel(AdapterLabel label, const std::wstring& text) override;
  void SetAdapterStatus(bool ok) override;
  MemoryModuleTable& ModuleTable() override { return mainboardPage_.Modules(); }

  void CreatePages();
  void ShowSelectedPage();
  void SetLanguageButtons();  // shows the button of the language that is not active
  void SwitchLanguage(Language language);
  void SelectHelpFile();
  void MiscPageEntry();
  void ResetStopwatchState();
  SettingsFields FieldsFromControls() const;

  // Pages of later work.
  void FillFoldersPage() {}
  void CheckIconPositionsOnActivate() {}

  ApplicationHelp& help_;
  const CodePage& codePage_;
  MessageTable messages_;
  ShellOps ops_;
  WmiQueryService wmi_;
  SysInfoTools tools_;
  HWND pageControl_ = nullptr;

  // The pages, in tab order.
  SystemPage systemPage_;
  CpuPage cpuPage_;
  NetworkPage networkPage_;
  MemoryPage memoryPage_;
  DisplayPage displayPage_;
  ApmSoundPage apmSoundPage_;
  BiosPage biosPage_;
  MainboardPage mainboardPage_;
  ControlPage controlPage_;
  ProcessPage processPage_;
  AutostartPage autostartPage_;

  Language uiLanguage_;
  std::wstring architecture_;
  std::wstring programFolder_, dataFolder_, iconPositionsFile_, settingsFile_;
  std::wstring line0_, line1_;  // opaque settings lines, carried through
  bool keptFlag_ = false;
  bool iconCheckFlag_ = false;
  bool activatedOnce_ = false;
  bool closing_ = false;

  // Clock and stopwatch state of the Misc page.
  bool twelveHour_ = false;
  bool stopwatchRunning_ = false;
  unsigned long long stopwatchStart_ = 0, stopwatchTotal_ = 0;
};

}  // namespace corvel
