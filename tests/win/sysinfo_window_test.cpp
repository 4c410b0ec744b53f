// The main window in-process: start-up with and without settings, the
// language switch, the About box, page changes and closing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "calc/calc_window.h"
#include "support/main_window_fixture.h"
#include "doubles/fixed_power.h"
#include "doubles/recording_shell.h"
#include "doubles/scripted_dialogs.h"
#include "doubles/table_wmi.h"
#include "base/text.h"
#include "win/files.h"

namespace corvel {
namespace {

TEST_F(MainWindow, FirstStartShowsTheControlPageInGermanAndSavesAtClose) {
  Start();
  EXPECT_TRUE(dialogs.calls.empty()) << "no box at an ordinary start";
  EXPECT_EQ(main->ActivePage(), TFormSysInfo::kControl);
  EXPECT_EQ(main->UiLanguage().Stored(), 0);
  EXPECT_TRUE(Visible(L"SpeedButton42"));  // "English"
  EXPECT_FALSE(Visible(L"SpeedButton41"));
  EXPECT_EQ(GetText(main->Ctl(L"SpeedButton45")), L"Über...");
  EXPECT_EQ(GetText(main->Ctl(L"SpeedButton44")), L"Beenden");
  EXPECT_EQ(main->HelpFile(), ProgramFolder() + L"corveld.chm");
  EXPECT_NE(Visible(L"ImageUACy"), Visible(L"ImageUACn")) << "exactly one UAC image";
  SetText(main->Ctl(L"EditServer"), L" ftp.example.org ");
  SetText(main->Ctl(L"EditWidth"), L" 1024 ");
  Close();
  SettingsFields saved = ReadSettings();
  EXPECT_EQ(saved.server, L" ftp.example.org ");
  EXPECT_EQ(saved.width, L"1024");
  EXPECT_TRUE(saved.keptFlag);
  EXPECT_EQ(saved.uiLanguage, 0);
  std::string bytes = *ReadWholeFile(settings);
  EXPECT_TRUE(LooksEnciphered(codePage.FromAnsi(bytes)));
}

TEST_F(MainWindow, LanguageFromTheSettingsChoosesTextsButtonsAndHelpFile) {
  WriteSettings([](SettingsFields& f) {
    f.uiLanguage = 2;
    f.user = L"anna";
    f.anonymous = true;
    f.keptFlag = false;
  });
  Start();
  EXPECT_EQ(main->UiLanguage().Stored(), 2);
  EXPECT_TRUE(Visible(L"SpeedButton41"));  // "German"
  EXPECT_FALSE(Visible(L"SpeedButton42"));
  EXPECT_EQ(GetText(main->Ctl(L"SpeedButton45")), L"About...");
  EXPECT_EQ(GetText(main->Ctl(L"SpeedButton44")), L"Quit");
  EXPECT_EQ(main->HelpFile(), ProgramFolder() + L"corvele.chm");
  EXPECT_EQ(GetText(main->Ctl(L"EditUser")), L"anna");
  Close();
  SettingsFields saved = ReadSettings();
  EXPECT_EQ(saved.uiLanguage, 2);
  EXPECT_FALSE(saved.keptFlag);
  EXPECT_FALSE(saved.anonymous) << "a named user excludes the anonymous login";
}

TEST_F(MainWindow, LanguageButtonsSwitchTextsButNotThePages) {
  Start();
  SelectPage(TFormSysInfo::kMisc);
  std::wstring hour = GetText(main->Ctl(L"ButtonHour"));
  Click(main->Ctl(L"SpeedButton42"));  // "English"
  EXPECT_EQ(main->UiLanguage().Stored(), 1);
  EXPECT_EQ(main->Messages()[Msg::ExplorerFailed], L"Error running Explorer.exe!");
  EXPECT_TRUE(Visible(L"SpeedButton41"));
  EXPECT_FALSE(Visible(L"SpeedButton42"));
  EXPECT_EQ(GetText(main->Ctl(L"ButtonHour")), hour);
  Click(main->Ctl(L"SpeedButton41"));  // "German"
  EXPECT_EQ(main->UiLanguage().Stored(), 0);
  EXPECT_EQ(main->Messages()[Msg::ExplorerFailed], L"Fehler beim Ausführen von Explorer.exe!");
  EXPECT_EQ(main->HelpFile(), ProgramFolder() + L"corveld.chm");
  Close();
}

TEST_F(MainWindow, StartBuildsOnlyTheActivePageAndTheOthersTakeTheirValuesWhenBuilt) {
  WriteSettings([](SettingsFields& f) {
    f.server = L"ftp.example.org";
    f.anonymous = true;
    f.width = L"1024";
    f.height = L"768";
    f.uiLanguage = 1;
  });
  Start();
  for (int i = 0; i < TFormSysInfo::kPageCount; ++i)
    EXPECT_EQ(main->PageBuilt(i), i == TFormSysInfo::kControl) << Narrow(TFormSysInfo::kPages[i].caption);
  // The settings, the language buttons and the UAC image reach the pages as they are built.
  EXPECT_EQ(GetText(main->Ctl(L"EditServer")), L"ftp.example.org");
  EXPECT_TRUE(IsChecked(main->Ctl(L"CheckBox1")));
  EXPECT_EQ(GetText(main->Ctl(L"EditWidth")), L"1024");
  EXPECT_TRUE(Visible(L"SpeedButton41")) << "English: the German button shows";
  EXPECT_FALSE(Visible(L"SpeedButton42"));
  EXPECT_NE(Visible(L"ImageUACy"), Visible(L"ImageUACn"));
  Close();
  const SettingsFields saved = ReadSettings();
  EXPECT_EQ(saved.server, L"ftp.example.org");
  EXPECT_EQ(saved.height, L"768");
  EXPECT_EQ(saved.uiLanguage, 1);
}

TEST_F(MainWindow, SettingsSurviveWhenTheirPagesAreNeverOpened) {
  WriteSettings([](SettingsFields& f) {
    f.server = L"ftp.example.org";
    f.user = L"anna";
    f.width = L"1024";
    f.height = L"768";
  });
  Start();
  Close();
  const SettingsFields saved = ReadSettings();
  EXPECT_EQ(saved.server, L"ftp.example.org");
  EXPECT_EQ(saved.user, L"anna");
  EXPECT_EQ(saved.width, L"1024");
  EXPECT_EQ(saved.height, L"768");
}

TEST_F(MainWindow, EveryPageChangeRefreshesWithoutAnError) {
  // A machine that answers what the pages need as numbers (no answer is a conversion error).
  wmi.classes[L"Win32_Processor"].instances = {{{L"MaxClockSpeed", WmiValue::U32(3400)}}};
  wmi.classes[L"Win32_VideoController"].instances = {{{L"AdapterRAM", WmiValue::U32(268435456)}}};
  Start();
  for (int i = 0; i < TFormSysInfo::kPageCount; ++i) {
    SelectPage(i);
    EXPECT_EQ(main->ActivePage(), i);
    EXPECT_TRUE(IsWindowVisible(FindWindowExW(main->hwnd(), nullptr, L"CorvelPage", TFormSysInfo::kPages[i].sheet)));
  }
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(GetText(main->Ctl(L"ButtonHour")), L"12 h") << "the Misc entry names the other clock mode";
  Close();
}

TEST_F(MainWindow, WithoutWmiEveryPageFillsAndOnlyTheNumberFieldsComplain) {
  wmi.classes.clear();  // every class fails, as when WMI is not there at all
  Start();
  std::vector<std::wstring> boxes;
  for (int i = 0; i < TFormSysInfo::kPageCount; ++i) {
    const std::size_t before = dialogs.calls.size();
    SelectPage(i);
    EXPECT_EQ(main->ActivePage(), i);
    for (std::size_t k = before; k < dialogs.calls.size(); ++k)
      boxes.push_back(std::wstring(TFormSysInfo::kPages[i].caption) + L": " + dialogs.calls[k].text);
  }
  // A missing maximum clock and adapter memory are no numbers: the
  // run-time's conversion errors, each ending its fill.
  const std::vector<std::wstring> expected = {L"CPU: '' ist kein gültiger Gleitkommawert.",
                                              L"Display: '' ist kein gültiger ganzzahliger Wert."};
  EXPECT_EQ(boxes, expected);
  EXPECT_EQ(GetText(main->Ctl(L"LabelPType")), L"Unspecified");
  EXPECT_EQ(GetText(main->Ctl(L"Label113")), L"VM detected");
  EXPECT_EQ(GetText(main->Ctl(L"LabelPLoad")), L"0 %") << "no load answer shows 0";
  EXPECT_EQ(GetText(main->Ctl(L"LabelBiosName")), L"");
  EXPECT_EQ(main->OsArchitecture(), L"");
  Close();
}

TEST_F(MainWindow, EveryRefreshReadsTheArchitectureWithOneQuery) {
  Start();
  const std::vector<std::wstring> atStart = {L"Win32_OperatingSystem"};
  EXPECT_EQ(wmi.queries, atStart) << "the Control page at start reads nothing else";
  EXPECT_EQ(main->OsArchitecture(), L"64-Bit");
  wmi.classes[L"Win32_OperatingSystem"].instances[0][L"OSArchitecture"] = WmiValue::Null();
  SelectPage(TFormSysInfo::kMisc);
  EXPECT_EQ(main->OsArchitecture(), L"") << "asked afresh, not kept from the last refresh";
  wmi.classes.clear();
  SelectPage(TFormSysInfo::kControl);
  EXPECT_EQ(main->OsArchitecture(), L"") << "WMI failing gives empty, no box";
  EXPECT_EQ(wmi.queries.size(), 3u);
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(MainWindow, BiosPageShowsItsValuesFromOneQuery) {
  auto S = [](const wchar_t* t) { return WmiValue::Str(t); };
  WmiInstance bios = {{L"ReleaseDate", WmiValue::Text(WmiType::DateTime, L"20240131000000.000000+000")},
                      {L"CurrentLanguage", S(L"en|US|iso8859-1")}, {L"Manufacturer", S(L"The Maker")},
                      {L"Name", S(L"Default System BIOS")},      {L"PrimaryBIOS", WmiValue::Bool(true)},
                      {L"SerialNumber", WmiValue::Null()},       {L"SMBIOSBIOSVersion", S(L"1.2.3")},
                      {L"SMBIOSMajorVersion", WmiValue::U16(3)}, {L"SMBIOSMinorVersion", WmiValue::U16(4)},
                      {L"SMBIOSPresent", WmiValue::Bool(false)}, {L"Status", S(L"ok")},
                      {L"Version", S(L"MAKER - 1")},             {L"BuildNumber", WmiValue::Null()}};
  wmi.classes[L"Win32_BIOS"].instances = {bios};
  Start();
  wmi.queries.clear();
  SelectPage(TFormSysInfo::kBios);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"LabelDate", L"31.01.2024"}, {L"LabelLanguage", L"en|US|iso8859-1"}, {L"LabelManufacturer", L"The Maker"},
      {L"LabelBiosName", L"Default System BIOS"}, {L"LabelPrimary", L"True"}, {L"LabelSerial", L""},
      {L"LabelSMVersion", L"1.2.3"}, {L"LabelMajor", L"3"}, {L"LabelMinor", L"4"}, {L"LabelPresent", L"False"},
      {L"LabelVersion", L"MAKER - 1"}, {L"LabelNumber", L""}};
  for (const auto& [label, text] : expected) EXPECT_EQ(GetText(main->Ctl(label)), text) << Narrow(label);
  EXPECT_TRUE(Visible(L"ImageBios1"));
  EXPECT_FALSE(Visible(L"ImageBios2"));
  const std::vector<std::wstring> once = {L"Win32_OperatingSystem", L"Win32_BIOS"};
  EXPECT_EQ(wmi.queries, once) << "thirteen values, one query";

  // WMI without the class: every field empty, the status not OK, no box.
  wmi.classes.erase(L"Win32_BIOS");
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kBios);
  EXPECT_EQ(GetText(main->Ctl(L"LabelDate")), L"..");
  EXPECT_EQ(GetText(main->Ctl(L"LabelManufacturer")), L"");
  EXPECT_FALSE(Visible(L"ImageBios1"));
  EXPECT_TRUE(Visible(L"ImageBios2"));
  EXPECT_TRUE(dialogs.calls.empty());

  main->Label64Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_NE(shell.calls[0].file.find(L"http"), std::wstring::npos);
  Close();
}

TEST_F(MainWindow, MainboardPageShowsTheBoardAndTheModuleOfTheChosenItem) {
  auto S = [](const std::wstring& t) { return WmiValue::Str(t); };
  WmiInstance board = {{L"Description", S(L"Base Board")}, {L"Manufacturer", S(L"Board Maker")},
                       {L"Product", S(L"B-1")},            {L"Version", WmiValue::Null()},
                       {L"Model", WmiValue::Null()},       {L"Name", S(L"Base Board")},
                       {L"HostingBoard", WmiValue::Bool(true)}, {L"SerialNumber", S(L"SN 1")},
                       {L"PoweredOn", WmiValue::Bool(true)},    {L"Tag", S(L"Base Board")}};
  wmi.classes[L"Win32_BaseBoard"].instances = {board};
  wmi.classes[L"Win32_MotherboardDevice"] = {};  // as under Wine: no instances
  auto& modules = wmi.classes[L"Win32_PhysicalMemory"].instances;
  const wchar_t* banks[] = {L"", L"BANK 1", L"BANK 2", L"BANK 3"};
  for (int n = 0; n < 4; ++n) {
    const std::wstring k = std::to_wstring(n);
    modules.push_back({{L"Tag", S(L"Physical Memory " + k)}, {L"Manufacturer", S(L"maker " + k)},
                       {L"BankLabel", S(banks[n])}, {L"DeviceLocator", S(L"DIMM " + k)},
                       {L"Capacity", WmiValue::U64(4294967296ull * (n + 1))}, {L"Speed", WmiValue::U32(1600)},
                       {L"TotalWidth", WmiValue::U16(64)}, {L"FormFactor", WmiValue::U16(n == 3 ? 16 : 12)}});
  }
  Start();
  wmi.queries.clear();
  SelectPage(TFormSysInfo::kMainboard);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"LabelBDescription", L"Base Board"}, {L"LabelBManufacturer", L"Board Maker"}, {L"LabelBProduct", L"B-1"},
      {L"LabelBVersion", L""}, {L"LabelBModel", L""}, {L"LabelHosting", L"True"}, {L"LabelBSerial", L"SN 1"},
      {L"LabelPowered", L"True"}, {L"LabelBusType", L""},
      // Item 0 is "BANK 1" but shows slot 0: the index is the slot.
      {L"LabelMemTag", L"Physical Memory 0"}, {L"LabelMemSpeed", L"1600 MHz"}, {L"LabelMemModule", L"DIMM 0"},
      {L"LabelMemCapacity", L"4096 MB"}, {L"LabelMemSocket", L"64 pins"}, {L"LabelMemManufacturer", L"maker 0"},
      {L"LabelMemForm", L"SODIMM"}};
  for (const auto& [label, text] : expected) EXPECT_EQ(GetText(main->Ctl(label)), text) << Narrow(label);
  EXPECT_FALSE(Visible(L"ImageBoard1"));
  EXPECT_TRUE(Visible(L"ImageBoard2")) << "no status is not OK";
  HWND combo = main->Ctl(L"ComboBox1");
  ASSERT_EQ(Combo(combo).Count(), 3);
  EXPECT_EQ(Combo(combo).Item(0), L"BANK 1");
  EXPECT_EQ(Combo(combo).Item(2), L"BANK 3");
  const std::vector<std::wstring> once = {L"Win32_OperatingSystem", L"Win32_BaseBoard", L"Win32_MotherboardDevice",
                                          L"Win32_PhysicalMemory"};
  EXPECT_EQ(wmi.queries, once) << "twenty values, one query per class";

  // The user's choice of the third item shows slot 2.
  Combo(combo).Select(2);
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(GetText(main->Ctl(L"LabelMemTag")), L"Physical Memory 2");
  EXPECT_EQ(GetText(main->Ctl(L"LabelMemCapacity")), L"12288 MB");

  // Coming back fills afresh: the list is not doubled.
  SelectPage(TFormSysInfo::kControl);
  modules.clear();
  SelectPage(TFormSysInfo::kMainboard);
  EXPECT_EQ(Combo(combo).Count(), 0);
  EXPECT_EQ(GetText(main->Ctl(L"LabelMemTag")), L"") << "an empty list empties the module fields";
  EXPECT_TRUE(dialogs.calls.empty());
  main->Label33Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  Close();
}

TEST_F(MainWindow, ApmSoundPageShowsBatteryAndSoundCard) {
  auto S = [](const wchar_t* t) { return WmiValue::Str(t); };
  // A desktop without battery; the sound device has no product name.
  power.record = {1, 128, 255};
  wmi.classes[L"Win32_SoundDevice"].instances = {{{L"ProductName", S(L"  ")}, {L"Description", S(L"Wine Audio")},
                                                  {L"Manufacturer", S(L"The Maker")}, {L"Status", S(L"OK")}}};
  Start();
  wmi.queries.clear();
  HWND bar = main->Ctl(L"ProgressBar1");
  auto oneLineImage = [this]() -> std::wstring {
    std::wstring shown;
    for (const wchar_t* image : {L"ImageLineOn", L"ImageLineOff", L"ImageUnKnown"})
      if (Visible(image)) shown += std::wstring(shown.empty() ? L"" : L"+") + image;
    return shown;
  };
  SelectPage(TFormSysInfo::kApmSound);
  EXPECT_EQ(GetText(main->Ctl(L"Labelpercent")), L"0 %");
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(oneLineImage(), L"ImageUnKnown");
  EXPECT_EQ(GetText(main->Ctl(L"LabelSoundcard")), L"Wine Audio") << "blank product name: the description";
  EXPECT_EQ(GetText(main->Ctl(L"LabelSoundM")), L"The Maker");
  EXPECT_TRUE(Visible(L"ImageSound2"));
  EXPECT_FALSE(Visible(L"ImageSound1"));
  const std::vector<std::wstring> once = {L"Win32_OperatingSystem", L"Win32_SoundDevice"};
  EXPECT_EQ(wmi.queries, once) << "four values, one query";
  EXPECT_FALSE(Visible(L"Label99")) << "the sound notice shows only during the test";

  // Each line status shows its image alone; an unknown percent fills the bar.
  struct Case { PowerRecord record; const wchar_t* percent; int bar; const wchar_t* image; };
  const Case cases[] = {
      {{1, 9, 255}, L"255 %", 100, L"ImageLineOn"},  // high and charging at once: read directly
      {{0, 2, 12}, L"12 %", 12, L"ImageLineOff"},
      {{255, 1, 100}, L"100 %", 100, L"ImageUnKnown"},
  };
  wmi.classes[L"Win32_SoundDevice"].instances[0][L"ProductName"] = S(L"HD Audio");
  wmi.classes[L"Win32_SoundDevice"].instances[0][L"Status"] = S(L"Degraded");
  for (const Case& c : cases) {
    power.record = c.record;
    SelectPage(TFormSysInfo::kControl);
    SelectPage(TFormSysInfo::kApmSound);
    EXPECT_EQ(GetText(main->Ctl(L"Labelpercent")), c.percent);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), c.bar) << Narrow(c.percent);
    EXPECT_EQ(oneLineImage(), c.image) << Narrow(c.percent);
  }
  EXPECT_EQ(GetText(main->Ctl(L"LabelSoundcard")), L"HD Audio");
  EXPECT_FALSE(Visible(L"ImageSound2"));
  EXPECT_TRUE(Visible(L"ImageSound1"));
  EXPECT_TRUE(dialogs.calls.empty());

  // Without the sound class every sound field is empty and the status not OK.
  wmi.classes.erase(L"Win32_SoundDevice");
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kApmSound);
  EXPECT_EQ(GetText(main->Ctl(L"LabelSoundcard")), L"");
  EXPECT_EQ(GetText(main->Ctl(L"LabelSoundM")), L"");
  EXPECT_TRUE(Visible(L"ImageSound1"));
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(MainWindow, FailingPowerStatusEndsTheApmFillWithTheErrorBox) {
  power.record = {1, 1, 90};
  wmi.classes[L"Win32_SoundDevice"].instances = {{{L"ProductName", WmiValue::Str(L"HD Audio")}}};
  Start();
  SelectPage(TFormSysInfo::kApmSound);
  ASSERT_EQ(GetText(main->Ctl(L"Labelpercent")), L"90 %");
  power.fail = true;
  wmi.classes[L"Win32_SoundDevice"].instances[0][L"ProductName"] = WmiValue::Str(L"Other Card");
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kApmSound);
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 1u);
  EXPECT_EQ(dialogs.Last().text, L"Zugriff verweigert.");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
  EXPECT_EQ(GetText(main->Ctl(L"Labelpercent")), L"90 %") << "fields keep their texts";
  EXPECT_EQ(GetText(main->Ctl(L"LabelSoundcard")), L"HD Audio") << "the fill ended before the sound fields";
  Close();
}

TEST_F(MainWindow, SoundTestPlaysTheFanfareWhileTheNoticeShows) {
  std::vector<std::wstring> steps;
  struct Recording : SoundTest {
    std::function<void(unsigned, unsigned)> play;
    std::function<void(unsigned)> wait;
    void Play(unsigned id, unsigned flags) override { play(id, flags); }
    void Wait(unsigned ms) override { wait(ms); }
  } sound;
  soundPort = &sound;
  Start();
  SelectPage(TFormSysInfo::kApmSound);
  Click(main->Ctl(L"SpeedButton42"));  // English: the notice text follows the language
  const std::wstring notice = GetText(main->Ctl(L"Label99"));
  EXPECT_FALSE(notice.empty());
  sound.play = [&](unsigned id, unsigned flags) {
    steps.push_back(L"play " + std::to_wstring(id) + L" " + std::to_wstring(flags) +
                    (Visible(L"Label99") ? L" notice" : L" no notice"));
  };
  sound.wait = [&](unsigned ms) {
    steps.push_back(L"wait " + std::to_wstring(ms) + (Visible(L"Label99") ? L" notice" : L" no notice"));
  };
  Click(main->Ctl(L"SpeedButton37"));
  const std::vector<std::wstring> expected = {L"play 2 " + std::to_wstring(0x40005) + L" notice", L"wait 4000 notice"};
  EXPECT_EQ(steps, expected);
  EXPECT_FALSE(Visible(L"Label99")) << "hidden again after the wait";
  EXPECT_EQ(GetText(main->Ctl(L"Label99")), notice);
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(MainWindow, AboutBoxFollowsTheLanguage) {
  Start();
  static TAboutBox* box;
  static std::vector<std::wstring> seen;
  box = about.get();
  seen.clear();
  auto readAndClose = [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    seen.push_back(GetText(box->hwnd()));
    seen.push_back(GetText(box->Ctl(L"LabelRelease")));
    seen.push_back(GetText(box->Ctl(L"LabelVersion")));
    PostMessageW(box->Ctl(L"BitBtn1"), BM_CLICK, 0, 0);
  };
  for (const wchar_t* language : {L"SpeedButton42", L"SpeedButton41"}) {
    Click(main->Ctl(language));
    SetTimer(nullptr, 0, 50, readAndClose);
    Click(main->Ctl(L"SpeedButton45"));
  }
  std::wstring version = ProgramVersionText(ProgramPath(), 1);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"About...", L"Release", version, L"Über...", L"Version", version}));
  EXPECT_NE(version, L"Not available") << "the test program carries the version resource";
  Close();
}

TEST_F(MainWindow, CalcButtonOpensTheCalculatorInTheInterfaceLanguage) {
  Start();
  TFormRech calc(dialogs, codePage, help);
  calc.Create(main->hwnd());
  tools.calc = &calc;
  main->SetTools(tools);
  static TFormRech* window;
  static std::vector<std::wstring> seen;
  window = &calc;
  seen.clear();
  auto readAndClose = [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    seen.push_back(window->MenuText(0));
    seen.push_back(window->InModal() ? L"modal" : L"not modal");
    PostMessageW(window->Ctl(L"BitBtn21"), BM_CLICK, 0, 0);
  };
  for (const wchar_t* language : {L"SpeedButton42", L"SpeedButton41"}) {
    Click(main->Ctl(language));
    SetTimer(nullptr, 0, 50, readAndClose);
    Click(main->Ctl(L"Buttoncalc"));
  }
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"File", L"modal", L"Datei", L"modal"}));
  EXPECT_EQ(GetText(main->Ctl(L"Buttoncalc")), L"Calc");
  EXPECT_EQ(main->HelpFile(), ProgramFolder() + L"ledgixhlp.chm") << "the calculator's help file stays set";
  Close();
}

TEST_F(MainWindow, OnlineOpensTheProductPage) {
  Start();
  Click(main->Ctl(L"SpeedButton28"));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, L"open");
  EXPECT_EQ(shell.calls[0].show, SW_SHOW);
  EXPECT_EQ(shell.calls[0].file.rfind(L"https://", 0), 0u);
  Close();
}

TEST_F(MainWindow, UnreadableSettingsFileGivesTheStandardErrorBox) {
  WriteSettings([](SettingsFields&) {});
  HANDLE lock = CreateFileW(settings.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Start();
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 1u);
  EXPECT_EQ(dialogs.Last().text, L"E/A-Fehler 32.");
  EXPECT_EQ(dialogs.Last().caption, L"Corvel");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
  EXPECT_TRUE(IsWindowVisible(main->hwnd())) << "the window stays open";
  // Closing cannot write the file either, and says nothing about it.
  Close();
  CloseHandle(lock);
  EXPECT_EQ(dialogs.Count(DialogKind::MsgBox), 1u);
}

TEST_F(MainWindow, CorruptSettingsFilesLoadWithoutCrashing) {
  std::string random(4096, '\0');
  unsigned seed = 12345;
  for (char& c : random) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  const std::string files[] = {random, std::string(10 * 1024 * 1024, 'x'), "just one line", "\r\n\r\n\r\n",
                               std::string("\0\0\0", 3)};
  for (const std::string& bytes : files) {
    WriteFileReplacing(settings, bytes);
    Start();
    EXPECT_TRUE(dialogs.calls.empty());
    Close();
    dialogs.calls.clear();
  }
}

}  // namespace
}  // namespace corvel
