#include <gtest/gtest.h>

#include "base/text.h"
#include "info/board_pages.h"

namespace corvel {
namespace {

TEST(BoardPages, BiosDateShapes) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"20240131000000.000000+000", L"31.01.2024"},
      {L"20240131", L"31.01.2024"},
      {L"2024013", L"3.01.2024"},
      {L"2024", L"..2024"},
      {L"", L".."},
      {L"1999x2y7", L"y7.x2.1999"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(BiosDateText(in), out) << Narrow(in);
}

TEST(BoardPages, StatusOkIgnoresCaseOnly) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"OK", true}, {L"ok", true}, {L"Ok", true}, {L"", false}, {L" OK", false}, {L"Degraded", false}, {L"OKAY", false}};
  for (const auto& [in, ok] : cases) EXPECT_EQ(IsStatusOk(in), ok) << Narrow(in);
}

TEST(BoardPages, BankItemsSkipEmptyBankLabels) {
  struct Case { std::vector<std::wstring> banks, items; };
  const Case cases[] = {
      {{L"", L"", L"", L""}, {}},
      {{L"BANK 0", L"BANK 1", L"", L""}, {L"BANK 0", L"BANK 1"}},
      {{L"", L"BANK 1", L"", L"BANK 3"}, {L"BANK 1", L"BANK 3"}},
      {{L"A", L"B", L"C", L"D"}, {L"A", L"B", L"C", L"D"}},
  };
  for (const Case& c : cases) {
    MemoryModuleTable t;
    for (int s = 0; s < kModuleSlots; ++s) t.At(s, ModuleField::BankLabel) = c.banks[s];
    EXPECT_EQ(BankItems(t), c.items);
  }
}

}  // namespace
}  // namespace corvel
