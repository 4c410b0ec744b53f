#include "info/board_pages.h"

#include "base/text.h"

namespace corvel {

std::wstring BiosDateText(std::wstring_view releaseDate) {
  const std::wstring d = Copy(releaseDate, 1, 8);
  return Copy(d, 7, 2) + L"." + Copy(d, 5, 2) + L"." + Copy(d, 1, 4);
}

bool IsStatusOk(std::wstring_view status) { return AsciiUpper(status) == L"OK"; }

std::vector<std::wstring> BankItems(const MemoryModuleTable& table) {
  std::vector<std::wstring> items;
  for (int slot = 0; slot < kModuleSlots; ++slot)
    if (!table.At(slot, ModuleField::BankLabel).empty()) items.push_back(table.At(slot, ModuleField::BankLabel));
  return items;
}

}  // namespace corvel
