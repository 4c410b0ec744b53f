// The Memory page.
#include "info/memory_page_window.h"

#include <commctrl.h>

#include "base/errors.h"

namespace corvel {

namespace {

// Rows of caption, value, bar (0..100) and percentage.
constexpr int Row(int i) { return 16 + 26 * i; }

const ControlSpec kMemoryPage[] = {
    {Kind::Caption, L"Label42", L"Free Physical Memory:", {16, Row(0), 150, 14}},
    {Kind::Value, L"LabelFreePhys", L"", {170, Row(0), 110, 14}},
    {Kind::Progress, L"ProgressBarFreeMem", nullptr, {290, Row(0) - 1, 260, 16}},
    {Kind::Value, L"LabelPhys2", L"", {560, Row(0), 80, 14}},
    {Kind::Caption, L"Label48", L"Total Physical Memory:", {16, Row(1), 150, 14}},
    {Kind::Value, L"LabelTotalPhysMem", L"", {170, Row(1), 110, 14}},
    {Kind::Caption, L"Label44", L"Memory load:", {16, Row(2), 150, 14}},
    {Kind::Value, L"LabelMem2", L"", {170, Row(2), 110, 14}},
    {Kind::Progress, L"ProgressBarLoad", nullptr, {290, Row(2) - 1, 260, 16}},
    {Kind::Value, L"LabelMemLoad", L"", {560, Row(2), 80, 14}},
    {Kind::Caption, L"Label49", L"Total Virtual Memory:", {16, Row(3), 150, 14}},
    {Kind::Value, L"LabelTotalVMem", L"", {170, Row(3), 110, 14}},
    {Kind::Caption, L"Label43", L"Free Virtual Memory:", {16, Row(4), 150, 14}},
    {Kind::Value, L"LabelFreeVMem", L"", {170, Row(4), 110, 14}},
    {Kind::Progress, L"ProgressBarVMem", nullptr, {290, Row(4) - 1, 260, 16}},
    {Kind::Value, L"LabelVPercent", L"", {560, Row(4), 80, 14}},
    {Kind::Caption, L"Label47", L"Total Pagefile Memory:", {16, Row(5), 150, 14}},
    {Kind::Value, L"LabelTotalPMem", L"", {170, Row(5), 110, 14}},
    {Kind::Caption, L"Label41", L"Free Pagefile Memory:", {16, Row(6), 150, 14}},
    {Kind::Value, L"LabelFreePageMem", L"", {170, Row(6), 110, 14}},
    {Kind::Progress, L"ProgressBarPMem", nullptr, {290, Row(6) - 1, 260, 16}},
    {Kind::Value, L"LabelPPercent", L"", {560, Row(6), 80, 14}},
    {Kind::Caption, L"Label45", L"Swapfile Size:", {16, Row(7), 150, 14}},
    {Kind::Value, L"LabelSwapSize", L"", {170, Row(7), 110, 14}},
    {Kind::Caption, L"Label46", L"Swapfile Usage:", {16, Row(8), 150, 14}},
    {Kind::Value, L"LabelSwap2", L"", {170, Row(8), 110, 14}},
    {Kind::Progress, L"ProgressBarSwap", nullptr, {290, Row(8) - 1, 260, 16}},
    {Kind::Value, L"LabelSwapUse", L"", {560, Row(8), 80, 14}},
};

}  // namespace

std::span<const ControlSpec> MemoryPage::Layout() const { return kMemoryPage; }

void MemoryPage::FillMemoryPage() {
  const MemoryStatus virtualStatus = memory_.Status();
  const std::uint64_t total = TotalPhysicalMemory(memory_);
  const MemoryFigures page = MemoryPageFigures(virtualStatus, total, memory_.Status());
  for (const PageWrite& w : page.writes) {
    if (w.bar)
      ProgressBar(Ctl(w.control)).SetPosition(w.position);
    else
      SetText(Ctl(w.control), w.text);
  }
  // A total of 0 ends the fill with the run-time's error; what was written stays.
  if (page.failure) throw Error(*page.failure);
}

}  // namespace corvel
