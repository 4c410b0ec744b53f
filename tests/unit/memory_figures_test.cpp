// The Memory page's arithmetic: whole against fractional mebibytes, halves to
// the even neighbour for percentages and away from zero for "0", figures
// beyond 4 GB, swap usage, and the totals of 0 that end the fill.
#include "info/memory_figures.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/text.h"
#include "doubles/fixed_memory.h"

namespace corvel {
namespace {

constexpr std::uint64_t MiB = 1048576;
constexpr std::uint32_t kCap = 0xFFFFFFFFu;

MemoryStatus Status(std::uint32_t load, std::uint64_t availPhys, std::uint64_t totalPage, std::uint64_t availPage,
                    std::uint64_t totalVirtual = 200 * MiB, std::uint64_t availVirtual = 100 * MiB) {
  MemoryStatus s;
  s.memoryLoad = load;
  s.totalPhys = kCap;
  s.availPhys = availPhys;
  s.totalPageFile = totalPage;
  s.availPageFile = availPage;
  s.totalVirtual = totalVirtual;
  s.availVirtual = availVirtual;
  return s;
}

std::wstring T(const MemoryFigures& page, const wchar_t* control) { return page.Text(control).value_or(L"<unwritten>"); }

TEST(MemoryFigures, EveryRowOfAnOrdinaryMachine) {
  const MemoryStatus s = Status(37, 2048 * MiB, kCap, 2048 * MiB, kCap, 0xF0000000u);
  const MemoryFigures page = MemoryPageFigures(s, 8192 * MiB, s);
  ASSERT_FALSE(page.failure);
  const std::pair<const wchar_t*, const wchar_t*> texts[] = {
      {L"LabelTotalPhysMem", L"8192 MB"}, {L"LabelFreePhys", L"2048 MB"},   {L"LabelPhys2", L"25 %"},
      {L"LabelMemLoad", L"37 %"},         {L"LabelMem2", L"6144 MB"},       {L"LabelTotalVMem", L"4095 MB"},
      {L"LabelFreeVMem", L"3840 MB"},     {L"LabelVPercent", L"94 %"},      {L"LabelTotalPMem", L"4096 MB"},
      {L"LabelFreePageMem", L"2048 MB"},  {L"LabelPPercent", L"50 %"},      {L"LabelSwapSize", L"2147483647"},
      {L"LabelSwapUse", L"50 %"},         {L"LabelSwap2", L"50 %"}};
  for (const auto& [control, text] : texts) EXPECT_EQ(T(page, control), text) << Narrow(control);
  const std::pair<const wchar_t*, int> bars[] = {{L"ProgressBarFreeMem", 25}, {L"ProgressBarLoad", 37},
                                                 {L"ProgressBarVMem", 94},    {L"ProgressBarPMem", 50},
                                                 {L"ProgressBarSwap", 50}};
  for (const auto& [control, position] : bars) EXPECT_EQ(page.Bar(control), position) << Narrow(control);
  EXPECT_EQ(page.writes.size(), 19u) << "every control once";
}

struct Case {
  const char* name;
  std::uint64_t totalBytes;
  MemoryStatus status;
  std::vector<std::pair<const wchar_t*, const wchar_t*>> texts;
};

TEST(MemoryFigures, DivisionsAndRounding) {
  const Case cases[] = {
      // The total is cut to whole mebibytes before anything else uses it.
      {"total truncated", 1000 * MiB + MiB - 1, Status(0, 500 * MiB, 100 * MiB, 50 * MiB),
       {{L"LabelTotalPhysMem", L"1000 MB"}, {L"LabelMem2", L"500 MB"}, {L"LabelPhys2", L"50 %"}}},
      // Fractional mebibytes: "0" rounds a half away from zero.
      {"free 1.5 MB", 1000 * MiB, Status(0, MiB + MiB / 2, 100 * MiB, 50 * MiB),
       {{L"LabelFreePhys", L"2 MB"}, {L"LabelMem2", L"999 MB"}}},  // 998.5 -> 999
      {"free 2.5 MB", 1000 * MiB, Status(0, 2 * MiB + MiB / 2, 100 * MiB, 50 * MiB),
       {{L"LabelFreePhys", L"3 MB"}, {L"LabelMem2", L"998 MB"}}},  // 997.5 -> 998
      // Percentages: a half goes to the even neighbour.
      {"free 0.5 %", 200 * MiB, Status(0, 1 * MiB, 200 * MiB, 1 * MiB), {{L"LabelPhys2", L"0 %"}, {L"LabelPPercent", L"0 %"}}},
      {"free 1.5 %", 200 * MiB, Status(0, 3 * MiB, 200 * MiB, 3 * MiB), {{L"LabelPhys2", L"2 %"}, {L"LabelPPercent", L"2 %"}}},
      {"free 2.5 %", 200 * MiB, Status(0, 5 * MiB, 200 * MiB, 5 * MiB), {{L"LabelPhys2", L"2 %"}, {L"LabelPPercent", L"2 %"}}},
      {"free 5.5 %", 200 * MiB, Status(0, 11 * MiB, 200 * MiB, 11 * MiB), {{L"LabelPhys2", L"6 %"}}},
      {"virtual 4.5 %", 200 * MiB, Status(0, 0, 200 * MiB, 0, 200 * MiB, 9 * MiB), {{L"LabelVPercent", L"4 %"}}},
      // Virtual figures are whole mebibytes, cut by the shift.
      {"virtual shifted", 200 * MiB, Status(0, 0, 200 * MiB, 0, 3 * MiB - 1, 2 * MiB - 1),
       {{L"LabelTotalVMem", L"2 MB"}, {L"LabelFreeVMem", L"1 MB"}, {L"LabelVPercent", L"50 %"}}},
      // A 16 GB machine with 12 GB free, a 20 GB page file and the 128 TB
      // address space of a 64-bit program: no figure stops at 4 GB.
      {"large machine", 16384 * MiB,
       Status(25, 12288 * MiB, 20480 * MiB, 15360 * MiB, 134217728 * MiB, 100663296 * MiB),
       {{L"LabelFreePhys", L"12288 MB"}, {L"LabelPhys2", L"75 %"}, {L"LabelMem2", L"4096 MB"},
        {L"LabelTotalPMem", L"20480 MB"}, {L"LabelPPercent", L"75 %"}, {L"LabelSwapSize", L"5368709120"},
        {L"LabelSwapUse", L"25 %"}, {L"LabelTotalVMem", L"134217728 MB"}, {L"LabelVPercent", L"75 %"}}},
      // Swap usage cuts, it does not round: 29.6 % free is 71 % used, not 70 %.
      {"swap cut", 200 * MiB, Status(0, 0, 1000, 296), {{L"LabelSwapUse", L"71 %"}, {L"LabelSwapSize", L"704"}}},
      {"swap all free", 200 * MiB, Status(0, 0, 1000, 1000), {{L"LabelSwapUse", L"0 %"}, {L"LabelSwap2", L"0 %"}}},
      // Available above total (read at different moments): a negative size, not a wrapped one.
      {"avail above total", 200 * MiB, Status(0, 0, 100 * MiB, 150 * MiB), {{L"LabelSwapSize", L"-52428800"}}},
  };
  for (const Case& c : cases) {
    const MemoryFigures page = MemoryPageFigures(c.status, c.totalBytes, c.status);
    EXPECT_FALSE(page.failure) << c.name;
    for (const auto& [control, text] : c.texts) EXPECT_EQ(T(page, control), text) << c.name << " " << Narrow(control);
  }
}

TEST(MemoryFigures, VirtualFiguresComeFromTheFirstRecord) {
  const MemoryStatus first = Status(10, 0, 100, 50, 400 * MiB, 100 * MiB);
  const MemoryStatus second = Status(90, 0, 100, 50, 800 * MiB, 800 * MiB);
  const MemoryFigures page = MemoryPageFigures(first, 100 * MiB, second);
  EXPECT_EQ(T(page, L"LabelTotalVMem"), L"400 MB");
  EXPECT_EQ(T(page, L"LabelVPercent"), L"25 %");
  EXPECT_EQ(T(page, L"LabelMemLoad"), L"90 %");
}

struct FailCase {
  const char* name;
  std::uint64_t totalBytes;
  MemoryStatus status;
  const wchar_t* error;
  std::size_t writes;          // how many writes stand before the failure
  const wchar_t* lastControl;  // the last one written
};

TEST(MemoryFigures, ZeroTotalsEndTheFillWithTheFloatingPointError) {
  const FailCase cases[] = {
      {"no total, some free", 0, Status(5, 300 * MiB, 100, 50), L"Gleitkommadivision durch Null", 2, L"LabelFreePhys"},
      {"no total, none free", 0, Status(5, 0, 100, 50), L"Ungültige Gleitkommaoperation", 2, L"LabelFreePhys"},
      // Less than one mebibyte is a total of 0 as well.
      {"total below 1 MB", MiB - 1, Status(5, 1, 100, 50), L"Gleitkommadivision durch Null", 2, L"LabelFreePhys"},
      {"no page file", 100 * MiB, Status(5, 50 * MiB, 0, 0), L"Ungültige Gleitkommaoperation", 13, L"LabelFreePageMem"},
      {"no virtual space", 100 * MiB, Status(5, 50 * MiB, 100, 50, 0, 0), L"Ungültige Gleitkommaoperation", 9,
       L"LabelFreeVMem"},
  };
  for (const FailCase& c : cases) {
    const MemoryFigures page = MemoryPageFigures(c.status, c.totalBytes, c.status);
    ASSERT_TRUE(page.failure) << c.name;
    EXPECT_EQ(*page.failure, c.error) << c.name;
    ASSERT_EQ(page.writes.size(), c.writes) << c.name;
    EXPECT_EQ(page.writes.back().control, c.lastControl) << c.name;
  }
  const MemoryFigures page = MemoryPageFigures(Status(5, 300 * MiB, 100, 50), 0, Status(5, 300 * MiB, 100, 50));
  EXPECT_EQ(T(page, L"LabelTotalPhysMem"), L"0 MB");
  EXPECT_EQ(T(page, L"LabelFreePhys"), L"300 MB");
  EXPECT_FALSE(page.Bar(L"ProgressBarFreeMem"));
}

TEST(MemoryFigures, TotalPhysicalMemoryBySystem) {
  struct TotalCase {
    std::optional<OsVersion> version;
    std::optional<std::uint64_t> extended;
    std::uint64_t expected;
  };
  const TotalCase cases[] = {
      {OsVersion{true, 6}, 17179869184ull, 17179869184ull},  // above 4 GB: the 64-bit figure
      {OsVersion{true, 5}, 1024 * MiB, 1024 * MiB},
      {OsVersion{true, 10}, std::nullopt, 0},  // the extended call failed
      {OsVersion{true, 4}, 17179869184ull, kCap},  // NT 4: the 32-bit record
      {OsVersion{false, 4}, 17179869184ull, kCap},  // 9x
      {OsVersion{false, 5}, 17179869184ull, kCap},
  };
  for (const TotalCase& c : cases) {
    FixedMemory m;
    m.version = c.version;
    m.extended = c.extended;
    m.status.totalPhys = kCap;
    EXPECT_EQ(TotalPhysicalMemory(m), c.expected) << c.version->major << " nt " << c.version->nt;
  }
  FixedMemory unknown;
  unknown.version = std::nullopt;
  try {
    TotalPhysicalMemory(unknown);
    FAIL() << "no version must raise";
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), L"Cannot get Windows version");
  }
}

}  // namespace
}  // namespace corvel
