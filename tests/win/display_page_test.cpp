// The Display page and the resolution check under Wine: the system's own
// readings, the adapter fields from scripted WMI, the questions on activation
// with a scripted screen size, and Restore/Clear. No test changes the
// resolution: the change is recorded instead.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <regex>

#include "support/main_window_fixture.h"
#include "support/temp_folder.h"
#include "win/support/wmic.h"
#include "info/wmi_win.h"
#include <objbase.h>

namespace corvel {
namespace {

// The system's readings, with the screen size, the colour depth and the
// resolution change scripted.
struct ScriptedDisplay : SystemDisplaySource {
  ScreenSize screen{800, 600};
  std::optional<int> deviceBits;
  std::vector<ScreenSize> changes;
  DisplayFacts Facts() override {
    DisplayFacts f = SystemDisplaySource::Facts();
    if (deviceBits) f.deviceBits = *deviceBits;
    return f;
  }
  ScreenSize CurrentSize() override { return screen; }
  bool SetScreenResolution(int width, int height) override {
    changes.push_back({width, height});
    return true;
  }
};

WmiInstance Controller(const std::wstring& name, WmiValue ram) {
  return {{L"Name", WmiValue::Str(name)},
          {L"AdapterRAM", ram},
          {L"PNPDeviceID", WmiValue::Str(L"PCI\\VEN_1234&DEV_1111&SUBSYS_00000000")},
          {L"MaxRefreshRate", WmiValue::U32(75)},
          {L"VideoProcessor", WmiValue::Str(name + L" processor")},
          {L"DriverVersion", WmiValue::Str(L"1.2.3.4")},
          {L"Status", WmiValue::Str(L"OK")}};
}

class DisplayPageTest : public MainWindow {
 protected:
  // The main window with the scripted display from the start, so the check
  // on the first activation already sees it.
  void StartWithDisplay() {
    displayPort = &display;
    Start();
  }
  void StoreDefault(const wchar_t* width, const wchar_t* height) {
    WriteSettings([&](SettingsFields& f) {
      f.width = width;
      f.height = height;
    });
  }
  // Coming back from one of the program's own windows.
  void Activate() {
    SendMessageW(main->hwnd(), WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(about->hwnd()));
    app::ProcessMessages();
  }
  std::wstring Text(const wchar_t* control) { return GetText(main->Ctl(control)); }
  void Edits(const wchar_t* width, const wchar_t* height) {
    SetText(main->Ctl(L"EditWidth"), width);
    SetText(main->Ctl(L"EditHeight"), height);
  }
  std::vector<std::wstring> Questions() {
    std::vector<std::wstring> texts;
    for (const DialogCall& c : dialogs.calls) {
      EXPECT_EQ(c.caption, L"Corvel");
      if (c.flags == (mb::kIconQuestion | mb::kYesNo)) texts.push_back(c.text);
    }
    return texts;
  }

  ScriptedDisplay display;
  const std::wstring kChanged = L"Auflösung geändert. Jetzt wiederherstellen?";
  const std::wstring kKeep = L"Neue Auflösung übernehmen?";
};

TEST_F(DisplayPageTest, TheSystemsReadingsAndTheLastControllersFields) {
  wmi.classes[L"Win32_VideoController"].instances = {Controller(L"First Card", WmiValue::U32(256 * 1048576)),
                                                     Controller(L"Second Card", WmiValue::U32(0xFFFFFFFFu))};
  Start();  // the system's display throughout
  SetText(main->Ctl(L"EditWidth"), L"");
  SetText(main->Ctl(L"EditHeight"), L"");
  wmi.queries.clear();
  SelectPage(TFormSysInfo::kDisplay);
  EXPECT_TRUE(dialogs.calls.empty()) << (dialogs.calls.empty() ? "" : Narrow(dialogs.Last().text));

  const std::wregex pixels(L"[1-9][0-9]* Pixel");
  for (const wchar_t* label : {L"LabelSWidth", L"LabelSHeight", L"LabelIHeight", L"LabelIWidth"})
    EXPECT_TRUE(std::regex_match(Text(label), pixels)) << Narrow(label) << ": " << Narrow(Text(label));
  EXPECT_EQ(Text(L"LabelIWidth"), std::to_wstring(GetSystemMetrics(SM_CXICON)) + L" Pixel");
  EXPECT_EQ(Text(L"LabelIHeight"), std::to_wstring(GetSystemMetrics(SM_CYICON)) + L" Pixel");
  EXPECT_EQ(Text(L"EditWidth") + L" Pixel", Text(L"LabelSWidth")) << "an empty edit takes the width";
  EXPECT_EQ(Text(L"EditHeight") + L" Pixel", Text(L"LabelSHeight"));
  EXPECT_TRUE(std::regex_match(Text(L"LabelHZ"), std::wregex(L"[0-9]+ Hz")));
  EXPECT_NE(Text(L"LabelHZ"), L"0 Hz");
  EXPECT_NE(Text(L"LabelHZ"), L"1 Hz");
  EXPECT_TRUE(std::regex_match(Text(L"LabelBits"), std::wregex(L"(4|8|15|16|24|32) Bit"))) << Narrow(Text(L"LabelBits"));
  EXPECT_TRUE(std::regex_match(Text(L"LabelColor"), std::wregex(L".*Colors.*\\([0-9]+ Bit\\)")))
      << Narrow(Text(L"LabelColor"));
  EXPECT_TRUE(std::regex_match(Text(L"LabelDpi"), std::wregex(L"[1-9][0-9]*")));
  EXPECT_TRUE(std::regex_match(Text(L"LabelMonitor"), std::wregex(L"[1-9][0-9]*")));
  EXPECT_TRUE(Text(L"LabelSmoothing") == L"ClearType" || Text(L"LabelSmoothing") == L"Standard");
  EXPECT_EQ(Text(L"LabelIcons").find(L"%1"), std::wstring::npos) << Narrow(Text(L"LabelIcons"));

  // WMI: the second controller, the 4 GB that wrapped to -1 shows 0 MB.
  const std::pair<const wchar_t*, const wchar_t*> adapter[] = {
      {L"LabelGCard", L"Second Card"}, {L"LabelGRam", L"0 MB"}, {L"LabelGRefresh", L"75"},
      {L"LabelGProc", L"Second Card processor"}, {L"LabelGDevice", L"1.2.3.4"}, {L"LabelPNP", L"PCI"}};
  for (const auto& [label, text] : adapter) EXPECT_EQ(Text(label), text) << Narrow(label);
  EXPECT_TRUE(Visible(L"ImageDisplay1"));
  EXPECT_FALSE(Visible(L"ImageDisplay2"));
  const std::vector<std::wstring> once = {L"Win32_OperatingSystem", L"Win32_VideoController"};
  EXPECT_EQ(wmi.queries, once) << "seven values, one query";

  // 2 GB: -2048 MB; a status other than OK shows the other image.
  wmi.classes[L"Win32_VideoController"].instances[1][L"AdapterRAM"] = WmiValue::U32(0x80000000u);
  wmi.classes[L"Win32_VideoController"].instances[1][L"Status"] = WmiValue::Str(L"Degraded");
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kDisplay);
  EXPECT_EQ(Text(L"LabelGRam"), L"-2048 MB");
  EXPECT_FALSE(Visible(L"ImageDisplay1"));
  EXPECT_TRUE(Visible(L"ImageDisplay2"));
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(DisplayPageTest, NoAdapterRamEndsTheFillBeforeTheAdapterFields) {
  wmi.classes[L"Win32_VideoController"].instances = {Controller(L"Card", WmiValue::U32(512 * 1048576))};
  StartWithDisplay();
  SelectPage(TFormSysInfo::kDisplay);
  ASSERT_EQ(Text(L"LabelGRam"), L"512 MB");
  SetText(main->Ctl(L"LabelSmoothing"), L"old");
  wmi.classes[L"Win32_VideoController"].instances[0][L"AdapterRAM"] = WmiValue::Null();
  wmi.classes[L"Win32_VideoController"].instances[0][L"Name"] = WmiValue::Str(L"Other Card");
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kDisplay);
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 1u);
  EXPECT_EQ(dialogs.Last().text, L"'' ist kein gültiger ganzzahliger Wert.");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
  EXPECT_NE(Text(L"LabelSmoothing"), L"old") << "the fields before the adapter RAM are written";
  EXPECT_EQ(Text(L"LabelGCard"), L"Card") << "the adapter fields keep their texts";
  EXPECT_EQ(Text(L"LabelGRam"), L"512 MB");

  // Without the class at all: the same error.
  wmi.classes.erase(L"Win32_VideoController");
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kDisplay);
  EXPECT_EQ(dialogs.Count(DialogKind::MsgBox), 2u);
  Close();
}

TEST_F(DisplayPageTest, OtherColourDepthsKeepTheColourText) {
  wmi.classes[L"Win32_VideoController"].instances = {Controller(L"Card", WmiValue::U32(0))};
  StartWithDisplay();
  const std::pair<int, const wchar_t*> steps[] = {
      {32, L"16M Colors, True Color (32 Bit)"}, {15, L"16M Colors, True Color (32 Bit)"},
      {8, L"256 Colors (8 Bit)"},               {1, L"256 Colors (8 Bit)"},
      {16, L"64K Colors, High Color (16 Bit)"}, {4, L"16 Colors (4 Bit)"},
      {24, L"16M Colors, True Color (24 Bit)"}};
  for (const auto& [bits, text] : steps) {
    display.deviceBits = bits;
    SelectPage(TFormSysInfo::kControl);
    SelectPage(TFormSysInfo::kDisplay);
    EXPECT_EQ(Text(L"LabelColor"), text) << bits;
  }
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(DisplayPageTest, StoredDefaultChangedRestoreSwitchesBack) {
  StoreDefault(L"1024", L"768");
  dialogs.AnswerBox(mb::kIdYes);
  StartWithDisplay();
  EXPECT_EQ(Questions(), std::vector<std::wstring>{kChanged});
  ASSERT_EQ(display.changes.size(), 1u);
  EXPECT_EQ(display.changes[0], (ScreenSize{1024, 768}));
  EXPECT_EQ(Text(L"EditWidth"), L"1024");

  // The next activation: No, then Yes keeps the new size as the default.
  dialogs.calls.clear();
  dialogs.AnswerBox(mb::kIdNo).AnswerBox(mb::kIdYes);
  Activate();
  const std::vector<std::wstring> both = {kChanged, kKeep};
  EXPECT_EQ(Questions(), both);
  EXPECT_EQ(display.changes.size(), 1u);
  EXPECT_EQ(Text(L"EditWidth"), L"800");
  EXPECT_EQ(Text(L"EditHeight"), L"600");
  dialogs.calls.clear();
  Activate();
  EXPECT_TRUE(dialogs.calls.empty()) << "the default now matches";
  Close();
  EXPECT_EQ(ReadSettings().width, L"800");
  EXPECT_EQ(ReadSettings().height, L"600");
}

TEST_F(DisplayPageTest, EnglishQuestionsAndNoNoKeepsTheDefault) {
  WriteSettings([](SettingsFields& f) {
    f.width = L"1024";
    f.height = L"768";
    f.uiLanguage = 1;
  });
  dialogs.AnswerBox(mb::kIdNo).AnswerBox(mb::kIdNo);
  StartWithDisplay();
  // The check on the first activation runs after the show step has loaded the language.
  const std::vector<std::wstring> both = {L"Screen resolution changed. Restore now?", L"Resume new resolution?"};
  EXPECT_EQ(Questions(), both);
  EXPECT_TRUE(display.changes.empty());
  EXPECT_EQ(Text(L"EditWidth"), L"1024");
  EXPECT_EQ(Text(L"EditHeight"), L"768");
  Close();
}

TEST_F(DisplayPageTest, DefaultsTooSmallOrHalfEmptyAreAskedButChangeNothing) {
  struct Case {
    const wchar_t* width;
    const wchar_t* height;
    ScreenSize screen;
    const wchar_t* widthAfter;
  };
  const Case cases[] = {{L"600", L"400", {1024, 768}, L"600"}, {L"", L"768", {1280, 1024}, L"1280"}};
  for (const Case& c : cases) {
    StoreDefault(c.width, c.height);
    display.screen = c.screen;
    dialogs.calls.clear();
    dialogs.AnswerBox(mb::kIdYes);
    StartWithDisplay();
    EXPECT_EQ(Questions(), std::vector<std::wstring>{kChanged}) << Narrow(c.width);
    EXPECT_TRUE(display.changes.empty()) << Narrow(c.width);
    EXPECT_EQ(Text(L"EditWidth"), c.widthAfter);
    Close();
  }
}

TEST_F(DisplayPageTest, AfterClearTheNextActivationAdoptsTheScreenSilently) {
  StoreDefault(L"1024", L"768");
  display.screen = {1280, 1024};
  dialogs.AnswerBox(mb::kIdNo).AnswerBox(mb::kIdNo);
  StartWithDisplay();
  ASSERT_EQ(Questions().size(), 2u);
  SelectPage(TFormSysInfo::kDisplay);
  Click(main->Ctl(L"SpeedButton39"));  // "Clear"
  EXPECT_EQ(Text(L"EditWidth"), L"");
  EXPECT_EQ(Text(L"EditHeight"), L"");
  dialogs.calls.clear();
  Activate();
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(Text(L"EditWidth"), L"1280");
  EXPECT_EQ(Text(L"EditHeight"), L"1024");
  EXPECT_TRUE(display.changes.empty());
  Close();
}

TEST_F(DisplayPageTest, EditsThatAreNoNumbersGiveTheErrorBox) {
  StartWithDisplay();
  ASSERT_TRUE(dialogs.calls.empty());
  Edits(L"12ab", L"768");
  Activate();
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 1u);
  EXPECT_EQ(dialogs.Last().text, L"'12ab' ist kein gültiger ganzzahliger Wert.");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
  EXPECT_TRUE(display.changes.empty());

  // "Restore" reads the edits untrimmed and without a lower limit.
  SelectPage(TFormSysInfo::kDisplay);
  Edits(L"1024", L"768");
  Click(main->Ctl(L"SpeedButton38"));
  Edits(L" 320", L"200");
  Click(main->Ctl(L"SpeedButton38"));
  const std::vector<ScreenSize> restored = {{1024, 768}, {320, 200}};
  EXPECT_EQ(display.changes, restored);
  Edits(L"1024 ", L"768");
  Click(main->Ctl(L"SpeedButton38"));
  EXPECT_EQ(dialogs.Last().text, L"'1024 ' ist kein gültiger ganzzahliger Wert.");
  EXPECT_EQ(display.changes.size(), 2u);
  Close();
}

// The page over Wine's own WMI shows what Wine's wmic prints.
TEST_F(DisplayPageTest, AdapterFieldsAreThoseWmicPrints) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    Win32Wmi realWmi;
    wmiPort = &realWmi;
    StartWithDisplay();
    SelectPage(TFormSysInfo::kDisplay);
    EXPECT_TRUE(dialogs.calls.empty()) << (dialogs.calls.empty() ? "" : Narrow(dialogs.Last().text));
    const std::wstring video = L"path Win32_VideoController";
    const std::pair<const wchar_t*, const wchar_t*> peers[] = {
        {L"LabelGCard", L"Name"}, {L"LabelGProc", L"VideoProcessor"}, {L"LabelGDevice", L"DriverVersion"}};
    for (const auto& [label, property] : peers) {
      const std::optional<std::wstring> peer = testing::WmicLast(video, property);
      ASSERT_TRUE(peer) << Narrow(property);
      EXPECT_EQ(Text(label), *peer) << Narrow(property);
    }
    const std::optional<std::wstring> ram = testing::WmicLast(video, L"AdapterRAM");
    ASSERT_TRUE(ram);
    EXPECT_EQ(Text(L"LabelGRam"), AdapterRamText(*ram));
    const std::optional<std::wstring> pnp = testing::WmicLast(video, L"PNPDeviceID");
    ASSERT_TRUE(pnp);
    EXPECT_EQ(Text(L"LabelPNP"), pnp->substr(0, 3));
    Close();
    main.reset();
    about.reset();
    wmiPort = nullptr;
  }
  CoUninitialize();
}

// A registry text value set for one test and put back as it was afterwards.
class RegistryValue {
 public:
  RegistryValue(HKEY root, std::wstring key, std::wstring name) : root_(root), key_(std::move(key)), name_(std::move(name)) {
    wchar_t buffer[2048];
    DWORD size = sizeof buffer;
    had_ = RegGetValueW(root_, key_.c_str(), name_.empty() ? nullptr : name_.c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                        &size) == ERROR_SUCCESS;
    if (had_) old_ = buffer;
    HKEY probe = nullptr;
    keyExisted_ = RegOpenKeyExW(root_, key_.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);
  }
  ~RegistryValue() {
    if (had_) {
      Set(old_);
    } else if (!keyExisted_) {
      RegDeleteKeyW(root_, key_.c_str());
    } else {
      RegDeleteKeyValueW(root_, key_.c_str(), name_.empty() ? nullptr : name_.c_str());
    }
  }
  void Set(const std::wstring& text) {
    ASSERT_EQ(RegSetKeyValueW(root_, key_.c_str(), name_.empty() ? nullptr : name_.c_str(), REG_SZ, text.c_str(),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

 private:
  HKEY root_;
  std::wstring key_, name_, old_;
  bool had_ = false, keyExisted_ = false;
};

TEST(DisplayReadings, ScreenSaverLongPathWallpaperAsReadAndTheIconFallback) {
  testing::TempFolder folder;
  const std::wstring saver = folder / L"A screen saver with a long name.scr";
  testing::WriteBytes(saver, "MZ");
  wchar_t shortPath[MAX_PATH] = L"";
  ASSERT_NE(GetShortPathNameW(saver.c_str(), shortPath, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortPath), saver) << "the file has a short form";
  RegistryValue saverValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"SCRNSAVE.EXE");
  RegistryValue wallpaperValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper");
  saverValue.Set(shortPath);
  wallpaperValue.Set(L"C:\\PROGRA~1\\pictures\\sea.bmp");
  SystemDisplaySource system;
  DisplayFacts f = system.Facts();
  EXPECT_EQ(f.screenSaver, saver) << "short " << Narrow(shortPath);
  EXPECT_EQ(f.wallpaper, L"C:\\PROGRA~1\\pictures\\sea.bmp") << "the wallpaper is shown as stored";
  saverValue.Set(L"C:\\no such folder\\gone.scr");
  EXPECT_EQ(system.Facts().screenSaver, L"C:\\no such folder\\gone.scr") << "no long form: unchanged";

  // The shell has no location for an empty name here: the default icon of the unknown type.
  SHFILEINFOW info{};
  if (SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_ICONLOCATION) && info.szDisplayName[0])
    GTEST_SKIP() << "the shell answers itself: " << Narrow(info.szDisplayName);
  HKEY probe = nullptr;
  const bool typeExisted = RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Unknown", 0, KEY_READ, &probe) == ERROR_SUCCESS;
  if (probe) RegCloseKey(probe);
  {
    RegistryValue unknownIcon(HKEY_CLASSES_ROOT, L"Unknown\\DefaultIcon", L"");
    unknownIcon.Set(L"\"%SystemRoot%\\system32\\shell32.dll\",-4 %1");
    EXPECT_EQ(IconLocationText(), L"%SystemRoot%\\system32\\shell32.dll");
    SystemDisplaySource system2;
    EXPECT_EQ(system2.Facts().iconLocation, L"%SystemRoot%\\system32\\shell32.dll");
  }
  if (!typeExisted) RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Unknown");
}

TEST(DisplayResolutionRecord, OnlyWidthAndHeightAreMarked) {
  DEVMODEW mode0{};
  mode0.dmSize = sizeof mode0;
  ASSERT_TRUE(EnumDisplaySettingsW(nullptr, 0, &mode0));
  const DEVMODEW mode = ResolutionModeRecord(mode0, 1024, 768);
  EXPECT_EQ(mode.dmFields, static_cast<DWORD>(DM_PELSWIDTH | DM_PELSHEIGHT));
  EXPECT_EQ(mode.dmPelsWidth, 1024u);
  EXPECT_EQ(mode.dmPelsHeight, 768u);
  EXPECT_EQ(mode.dmSize, mode0.dmSize);
  EXPECT_EQ(mode.dmBitsPerPel, mode0.dmBitsPerPel) << "the rest of mode 0 as it was";
  EXPECT_EQ(ResolutionModeRecord(mode0, 65536 + 800, -1).dmPelsWidth, 800u) << "16-bit figures";
}

}  // namespace
}  // namespace corvel
