// Floating-point conversions of the run-time: reading a number with a given
// decimal separator and formatting with the patterns "0", "0.0", "0.00", ...
// Portable.
#pragma once
#include <string>
#include <string_view>

namespace corvel {

// Blanks around, an optional sign, digits with at most one decimal separator,
// an optional exponent ("e"/"E", sign, digits). At least one digit before the
// exponent. Throws ConvertError "'<text>' ist kein gültiger Gleitkommawert".
double StrToFloat(std::wstring_view text, wchar_t decimalSeparator = L'.');
bool TryStrToFloat(std::wstring_view text, double& value, wchar_t decimalSeparator = L'.');

// `pattern` is "0" optionally followed by "." and zeros: that many decimals,
// a half rounded away from zero, the separator given. No "-" for a value that
// rounds to zero. Throws Error "Ungültige Gleitkommaoperation" for NaN,
// infinities and magnitudes beyond 1e18.
std::wstring FormatFloat(std::wstring_view pattern, double value, wchar_t decimalSeparator = L'.');

}  // namespace corvel
