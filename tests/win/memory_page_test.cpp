// The Memory page under Wine: the system's own figures, scripted figures in
// every control, and the totals of 0 that end the fill with the error box.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <regex>

#include "doubles/fixed_memory.h"
#include "support/main_window_fixture.h"

namespace corvel {
namespace {

constexpr std::uint32_t MiB = 1048576;

const wchar_t* const kBars[] = {L"ProgressBarFreeMem", L"ProgressBarLoad", L"ProgressBarVMem", L"ProgressBarPMem",
                                L"ProgressBarSwap"};

class MemoryPageTest : public MainWindow {
 protected:
  std::wstring Text(const wchar_t* control) { return GetText(main->Ctl(control)); }
  int Bar(const wchar_t* control) { return static_cast<int>(SendMessageW(main->Ctl(control), PBM_GETPOS, 0, 0)); }
  long long Number(const wchar_t* control, const wchar_t* unit) {
    const std::wstring text = Text(control);
    const std::wregex shape(std::wstring(L"-?[0-9]+") + unit);
    EXPECT_TRUE(std::regex_match(text, shape)) << Narrow(control) << ": " << Narrow(text);
    return std::wcstoll(text.c_str(), nullptr, 10);
  }
};

TEST_F(MemoryPageTest, TheSystemsFiguresGiveSaneTexts) {
  Start();
  SelectPage(TFormSysInfo::kMemory);
  EXPECT_TRUE(dialogs.calls.empty()) << (dialogs.calls.empty() ? "" : Narrow(dialogs.Last().text));
  MEMORYSTATUSEX status{sizeof status};
  ASSERT_TRUE(GlobalMemoryStatusEx(&status));
  EXPECT_EQ(Number(L"LabelTotalPhysMem", L" MB"), static_cast<long long>(status.ullTotalPhys / MiB));
  const long long free = Number(L"LabelFreePhys", L" MB");
  EXPECT_GT(free, 0);
  EXPECT_LE(free, Number(L"LabelTotalPhysMem", L" MB"));
  EXPECT_GE(Number(L"LabelMem2", L" MB"), 0);
  for (const wchar_t* label : {L"LabelPhys2", L"LabelMemLoad", L"LabelVPercent", L"LabelPPercent", L"LabelSwapUse"}) {
    const long long p = Number(label, L" %");
    EXPECT_GE(p, 0) << Narrow(label);
    EXPECT_LE(p, 100) << Narrow(label);
  }
  EXPECT_EQ(Text(L"LabelSwap2"), Text(L"LabelSwapUse"));
  EXPECT_EQ(Bar(L"ProgressBarLoad"), Number(L"LabelMemLoad", L" %"));
  EXPECT_EQ(Bar(L"ProgressBarSwap"), Number(L"LabelSwapUse", L" %"));
  const long long tv = Number(L"LabelTotalVMem", L" MB"), fv = Number(L"LabelFreeVMem", L" MB");
  EXPECT_GT(tv, 0);
  EXPECT_LE(fv, tv);
  EXPECT_GE(Number(L"LabelTotalPMem", L" MB"), Number(L"LabelFreePageMem", L" MB"));
  EXPECT_GE(Number(L"LabelSwapSize", L""), 0);
  Close();
}

TEST_F(MemoryPageTest, ScriptedFiguresInEveryControl) {
  FixedMemory memory;
  memory.extended = 8192ull * MiB;
  memory.status = {37, 0xFFFFFFFFu, 2048 * MiB, 0xFFFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xF0000000u};
  memoryPort = &memory;
  Start();
  SelectPage(TFormSysInfo::kMemory);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(memory.statusReads, 2) << "once for the virtual figures, once for the others";
  // The figures themselves are the unit tests' business; a few rows show
  // that every kind of write reaches its control.
  const std::pair<const wchar_t*, const wchar_t*> texts[] = {
      {L"LabelTotalPhysMem", L"8192 MB"}, {L"LabelFreeVMem", L"3840 MB"}, {L"LabelSwapSize", L"2147483647"},
      {L"LabelSwap2", L"50 %"}};
  for (const auto& [control, text] : texts) EXPECT_EQ(Text(control), text) << Narrow(control);
  const int positions[] = {25, 37, 94, 50, 50};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Bar(kBars[i]), positions[i]) << Narrow(kBars[i]);
  Close();
}

TEST_F(MemoryPageTest, ZeroTotalEndsTheFillWithTheErrorBoxAndKeepsTheRest) {
  FixedMemory memory;
  memory.extended = 8192ull * MiB;
  memory.status = {37, 0xFFFFFFFFu, 2048 * MiB, 0xFFFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xF0000000u};
  memoryPort = &memory;
  Start();
  SelectPage(TFormSysInfo::kMemory);
  ASSERT_EQ(Text(L"LabelPhys2"), L"25 %");

  // The extended call fails: a total of 0, some free memory.
  memory.extended.reset();
  memory.status.availPhys = 1024 * MiB;
  memory.status.memoryLoad = 60;
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kMemory);
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 1u);
  EXPECT_EQ(dialogs.Last().text, L"Gleitkommadivision durch Null.");
  EXPECT_EQ(dialogs.Last().caption, L"Corvel");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
  EXPECT_EQ(Text(L"LabelTotalPhysMem"), L"0 MB") << "written before the division";
  EXPECT_EQ(Text(L"LabelFreePhys"), L"1024 MB");
  EXPECT_EQ(Text(L"LabelPhys2"), L"25 %") << "the rest keeps its texts";
  EXPECT_EQ(Text(L"LabelMemLoad"), L"37 %");
  EXPECT_EQ(Bar(L"ProgressBarFreeMem"), 25);

  // No page file: the fill gets as far as the page-file figures.
  memory.extended = 4096ull * MiB;
  memory.status.totalPageFile = memory.status.availPageFile = 0;
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kMemory);
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 2u);
  EXPECT_EQ(dialogs.Last().text, L"Ungültige Gleitkommaoperation.");
  EXPECT_EQ(Text(L"LabelMemLoad"), L"60 %");
  EXPECT_EQ(Text(L"LabelTotalPMem"), L"0 MB");
  EXPECT_EQ(Text(L"LabelPPercent"), L"50 %");
  EXPECT_EQ(Text(L"LabelSwapSize"), L"2147483647");

  // A system that cannot tell its version: nothing is written.
  memory.version.reset();
  SelectPage(TFormSysInfo::kControl);
  SelectPage(TFormSysInfo::kMemory);
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 3u);
  EXPECT_EQ(dialogs.Last().text, L"Cannot get Windows version.");
  EXPECT_EQ(Text(L"LabelTotalPhysMem"), L"4096 MB");
  Close();
}

}  // namespace
}  // namespace corvel
