// Rules of the Bios and Mainboard pages that do not need a window. Portable.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "info/wmi_query.h"

namespace corvel {

// WMI's release date (yyyymmdd...) as day.month.year, the digits as stored:
// "20240131000000.000000+000" -> "31.01.2024". A shorter text gives what its
// characters hold ("" -> "..").
std::wstring BiosDateText(std::wstring_view releaseDate);

// A WMI status counts as good when it is "OK" in upper case; empty is not.
bool IsStatusOk(std::wstring_view status);

// The items of the bank list: the bank label of every slot that has one, in
// slot order. The list index is later taken as the slot number, so an empty
// bank label shifts the items against the slots.
std::vector<std::wstring> BankItems(const MemoryModuleTable& table);

}  // namespace corvel
