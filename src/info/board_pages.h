// Rules of the Bios and Mainboard pages that do not need a window. Portable.
#pragma once
#include <string>
#include <string_view>

namespace corvel {

// WMI's release date (yyyymmdd...) as day.month.year, the digits as stored:
// "20240131000000.000000+000" -> "31.01.2024". A shorter text gives what its
// characters hold ("" -> "..").
std::wstring BiosDateText(std::wstring_view releaseDate);

// A WMI status counts as good when it is "OK" in upper case; empty is not.
bool IsStatusOk(std::wstring_view status);

}  // namespace corvel
