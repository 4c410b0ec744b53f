// The CPU page in the main window: the processor's own values, the WMI
// fields, the load timer and its error rules.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "win/locale.h"
#include "support/main_window_fixture.h"

namespace corvel {
namespace {

class CpuPageTest : public MainWindow {
 protected:
  void ScriptProcessor(WmiValue load, WmiValue maxClock = WmiValue::U32(3400)) {
    wmi.classes[L"Win32_Processor"].instances = {{{L"LoadPercentage", load},
                                                 {L"CurrentVoltage", WmiValue::U16(12)},
                                                 {L"SocketDesignation", WmiValue::Str(L"CPU Socket 0")},
                                                 {L"ProcessorId", WmiValue::Str(L"BFEBFBFF000906EA")},
                                                 {L"Role", WmiValue::Str(L"CPU")},
                                                 {L"MaxClockSpeed", maxClock}}};
  }
  // A processor of known values, so texts can be compared.
  void UseKnownProcessor(wchar_t separator) {
    known.on = true;
    known.separator = separator;
  }
  struct KnownProcessor : SystemCpuSource {
    bool on = false;
    wchar_t separator = L'.';
    CpuFacts Facts() override {
      if (!on) return SystemCpuSource::Facts();
      CpuFacts f;
      f.brand = L"Intel(R) Core(TM) i7-6700 CPU @ 3.40GHz";
      f.vendor = L"GenuineIntel";
      f.maker = L"Intel";
      f.physicalCores = 4;
      f.l1Code = 32, f.l1Data = 32, f.l2 = 256, f.l3 = 0;
      f.x64 = true, f.hyperThreading = false, f.mmx = true, f.ext3dNow = false;
      return f;
    }
    int Mhz() override { return on ? 3330 : SystemCpuSource::Mhz(); }
    wchar_t DecimalSeparator() override { return on ? separator : SystemCpuSource::DecimalSeparator(); }
  } known;
  void SetUp() override {
    MainWindow::SetUp();
    cpuPort = &known;
  }
  std::wstring Text(const wchar_t* control) { return GetText(main->Ctl(control)); }
  int BarPosition() { return static_cast<int>(SendMessageW(main->Ctl(L"ProgressBar2"), PBM_GETPOS, 0, 0)); }
  // Whether Timer1 runs; asking stops it, so a test asks last on a page.
  bool TakeTimer1() { return KillTimer(main->hwnd(), kTimer1) != 0; }
  void Tick() { SendMessageW(main->hwnd(), WM_TIMER, kTimer1, 0); }
  int ProcessorQueries() { return static_cast<int>(std::count(wmi.queries.begin(), wmi.queries.end(), L"Win32_Processor")); }
};

TEST_F(CpuPageTest, FillsEveryFieldWithBothDecimalSeparators) {
  struct Case { wchar_t sep; const wchar_t* ghz; const wchar_t* max; };
  const Case cases[] = {{L'.', L"3.33 GHZ", L"3.40 GHZ"}, {L',', L"3,33 GHZ", L"3,40 GHZ"}};
  ScriptProcessor(WmiValue::U16(100));
  Start();
  for (const Case& c : cases) {
    UseKnownProcessor(c.sep);
    SelectPage(TFormSysInfo::kCpu);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Text(L"LabelCPU"), L"Intel(R) Core(TM) i7-6700 CPU @ 3.40GHz");
    EXPECT_EQ(Text(L"LabelModel"), L"Intel");
    EXPECT_EQ(Text(L"LabelCore"), L"4");
    EXPECT_EQ(Text(L"LabelGHZ"), c.ghz);
    EXPECT_EQ(Text(L"LabelCCache"), L"32");
    EXPECT_EQ(Text(L"LabelDCache"), L"32");
    EXPECT_EQ(Text(L"LabelL2"), L"256");
    EXPECT_EQ(Text(L"LabelL3"), L"0") << "no L3 cache";
    EXPECT_TRUE(Visible(L"Image64bit1"));
    EXPECT_FALSE(Visible(L"Image64Bit0"));
    EXPECT_FALSE(Visible(L"ImageHyper1"));
    EXPECT_TRUE(Visible(L"ImageHyper0"));
    EXPECT_TRUE(Visible(L"ImageMMX1"));
    EXPECT_FALSE(Visible(L"ImageMMX0"));
    EXPECT_FALSE(Visible(L"ImageNow1"));
    EXPECT_TRUE(Visible(L"ImageNow0"));
    EXPECT_EQ(Text(L"LabelVendor"), L"GenuineIntel");
    EXPECT_TRUE(Visible(L"LabelPLoad"));
    EXPECT_TRUE(Visible(L"Label106"));
    EXPECT_EQ(Text(L"LabelPLoad"), L"100 %");
    EXPECT_EQ(BarPosition(), 100) << "a load of 100 fills the bar";
    EXPECT_EQ(Text(L"LabelVolt"), L"12 V");
    EXPECT_EQ(Text(L"LabelSocket"), L"CPU Socket 0");
    EXPECT_EQ(Text(L"LabelProcID"), L"BFEBFBFF000906EA");
    EXPECT_EQ(Text(L"LabelRole"), L"CPU");
    EXPECT_EQ(Text(L"LabelMaxSpeed"), c.max);
    SelectPage(TFormSysInfo::kControl);
  }
  Close();
}

TEST_F(CpuPageTest, BarRangeAndStyle) {
  Start();
  UseKnownProcessor(L'.');
  SelectPage(TFormSysInfo::kCpu);
  SelectPage(TFormSysInfo::kControl);
  HWND bar = main->Ctl(L"ProgressBar2");
  PBRANGE range{};
  SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_SMOOTH);
  EXPECT_EQ(SendMessageW(bar, PBM_GETBARCOLOR, 0, 0), static_cast<LRESULT>(RGB(0, 0, 128)));
  Close();
}

TEST_F(CpuPageTest, LoadFieldsAreHiddenAsDesigned) {
  Start();
  EXPECT_FALSE(Visible(L"LabelPLoad"));
  EXPECT_FALSE(Visible(L"Label106"));
  EXPECT_EQ(Text(L"LabelPLoad"), L"--");
  Close();
}

TEST_F(CpuPageTest, TimerRunsOnlyWhileThePageShows) {
  ScriptProcessor(WmiValue::U16(5));
  Start();
  UseKnownProcessor(L'.');
  EXPECT_FALSE(TakeTimer1()) << "off at start";
  SelectPage(TFormSysInfo::kCpu);
  SelectPage(TFormSysInfo::kSystem);
  EXPECT_FALSE(TakeTimer1()) << "leaving the page stops it";
  SelectPage(TFormSysInfo::kCpu);
  SelectPage(TFormSysInfo::kMisc);
  EXPECT_FALSE(TakeTimer1());
  SelectPage(TFormSysInfo::kCpu);
  EXPECT_TRUE(TakeTimer1()) << "returning restarts it";
  Close();
}

TEST_F(CpuPageTest, TickShowsTheLoadAskedAfresh) {
  ScriptProcessor(WmiValue::U16(5));
  Start();
  UseKnownProcessor(L'.');
  SelectPage(TFormSysInfo::kCpu);
  EXPECT_EQ(Text(L"LabelPLoad"), L"5 %");
  const int before = ProcessorQueries();
  wmi.classes[L"Win32_Processor"].instances[0][L"LoadPercentage"] = WmiValue::U16(100);
  Tick();
  EXPECT_EQ(ProcessorQueries(), before + 1) << "each tick queries WMI";
  EXPECT_EQ(Text(L"LabelPLoad"), L"100 %");
  EXPECT_EQ(BarPosition(), 100);
  wmi.classes[L"Win32_Processor"].instances[0][L"LoadPercentage"] = WmiValue::Null();
  Tick();
  EXPECT_EQ(Text(L"LabelPLoad"), L"0 %") << "no answer is a load of 0";
  EXPECT_EQ(BarPosition(), 0);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_TRUE(TakeTimer1());
  Close();
}

TEST_F(CpuPageTest, TickWithALoadThatIsNoNumberShowsTheConversionError) {
  ScriptProcessor(WmiValue::U16(7));
  Start();
  UseKnownProcessor(L'.');
  SelectPage(TFormSysInfo::kCpu);
  wmi.classes[L"Win32_Processor"].instances[0][L"LoadPercentage"] = WmiValue::Str(L"busy");
  Tick();
  Tick();
  ASSERT_EQ(dialogs.calls.size(), 2u) << "reported at each tick";
  EXPECT_EQ(dialogs.Last().text, L"''busy'' ist kein gültiger Integer-Wert.");
  EXPECT_EQ(dialogs.Last().caption, L"Corvel");
  EXPECT_EQ(Text(L"LabelPLoad"), L"7 %") << "the label keeps its last load";
  EXPECT_EQ(BarPosition(), 7);
  EXPECT_TRUE(TakeTimer1()) << "the timer goes on";
  Close();
}

// Answers each box with another tick of Timer1, as the timer does while a
// box waits for the user.
class TickingDialogs : public ScriptedDialogs {
 public:
  HWND window = nullptr;
  int ShowMessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) override {
    const int id = ScriptedDialogs::ShowMessageBox(text, caption, flags);
    if (window && calls.size() < 4) SendMessageW(window, WM_TIMER, kTimer1, 0);
    return id;
  }
};

TEST_F(CpuPageTest, TicksDuringAnOpenErrorBoxDoNotStackBoxes) {
  ScriptProcessor(WmiValue::U16(7));
  TickingDialogs ticking;
  dialogsPort = &ticking;
  Start();
  UseKnownProcessor(L'.');
  SelectPage(TFormSysInfo::kCpu);
  wmi.classes[L"Win32_Processor"].instances[0][L"LoadPercentage"] = WmiValue::Str(L"busy");
  ticking.window = main->hwnd();
  Tick();
  EXPECT_EQ(ticking.calls.size(), 1u) << "one box; the ticks while it is open wait";
  Tick();
  EXPECT_EQ(ticking.calls.size(), 2u) << "the next tick after the answer reports again";
  ticking.window = nullptr;
  Close();
}

TEST_F(CpuPageTest, FillWithALoadThatIsNoNumberHidesTheLoadAndGoesOn) {
  ScriptProcessor(WmiValue::Str(L"n/a"));
  Start();
  UseKnownProcessor(L'.');
  SelectPage(TFormSysInfo::kCpu);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_FALSE(Visible(L"LabelPLoad"));
  EXPECT_FALSE(Visible(L"Label106"));
  EXPECT_EQ(Text(L"LabelRole"), L"CPU") << "the fill goes on";
  EXPECT_EQ(Text(L"LabelMaxSpeed"), L"3.40 GHZ");
  EXPECT_TRUE(TakeTimer1()) << "the timer stays started";
  Close();
}

TEST_F(CpuPageTest, MissingMaxClockEndsTheFillAtTheLastField) {
  ScriptProcessor(WmiValue::U16(3), WmiValue::Null());
  Start();
  UseKnownProcessor(L'.');
  SelectPage(TFormSysInfo::kCpu);
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.Last().text, L"'' ist kein gültiger Gleitkommawert.");
  EXPECT_EQ(Text(L"LabelRole"), L"CPU") << "fields before stay";
  EXPECT_EQ(Text(L"LabelPLoad"), L"3 %");
  EXPECT_EQ(Text(L"LabelMaxSpeed"), L"____");
  Close();
}

bool IsDigits(const std::wstring& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswdigit(c); });
}

TEST_F(CpuPageTest, RealProcessorGivesSaneTexts) {
  ScriptProcessor(WmiValue::U16(1));
  Start();
  SelectPage(TFormSysInfo::kCpu);
  EXPECT_TRUE(dialogs.calls.empty());
  const std::wstring brand = Text(L"LabelCPU");
  EXPECT_FALSE(brand.empty());
  EXPECT_LE(brand.size(), 48u);
  EXPECT_NE(brand.front(), L' ');
  EXPECT_EQ(Text(L"LabelVendor").size(), 12u) << Narrow(Text(L"LabelVendor"));
  EXPECT_EQ(Text(L"LabelModel"), MakerName(Text(L"LabelVendor")));
  ASSERT_TRUE(IsDigits(Text(L"LabelCore")));
  EXPECT_GE(std::stoi(Text(L"LabelCore")), 1);
  EXPECT_LE(std::stoi(Text(L"LabelCore")), 255);
  for (const wchar_t* cache : {L"LabelCCache", L"LabelDCache", L"LabelL2", L"LabelL3"})
    EXPECT_TRUE(IsDigits(Text(cache))) << Narrow(cache) << ": " << Narrow(Text(cache));
  EXPECT_GT(std::stoi(Text(L"LabelDCache")), 0);
  EXPECT_TRUE(Visible(L"Image64bit1")) << "an x86-64 processor runs these tests";
  EXPECT_TRUE(Visible(L"ImageMMX1"));
  // "d.dd GHZ" with the user's separator, and a plausible clock.
  const std::wstring ghz = Text(L"LabelGHZ");
  ASSERT_EQ(ghz.size(), 8u) << Narrow(ghz);
  EXPECT_EQ(ghz[1], UserDecimalSeparator());
  EXPECT_EQ(ghz.substr(4), L" GHZ");
  const double value = (ghz[0] - L'0') + (ghz[2] - L'0') / 10.0 + (ghz[3] - L'0') / 100.0;
  EXPECT_GE(value, 0.2);
  EXPECT_EQ(Text(L"LabelMaxSpeed"), std::wstring(L"3") + UserDecimalSeparator() + L"40 GHZ");
  Close();
}

}  // namespace
}  // namespace corvel
