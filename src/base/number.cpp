#include "base/number.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "base/errors.h"

namespace corvel {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

bool TryStrToFloat(std::wstring_view text, double& value, wchar_t decimalSeparator) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == L' ') ++b;
  while (e > b && text[e - 1] == L' ') --e;
  // Rewritten into the C locale's form so strtod reads it the same everywhere.
  std::string plain;
  std::size_t i = b;
  if (i < e && (text[i] == L'+' || text[i] == L'-')) plain += char(text[i++]);
  int digits = 0;
  bool separator = false;
  for (; i < e; ++i) {
    if (IsDigit(text[i])) {
      plain += char(text[i]);
      ++digits;
    } else if (text[i] == decimalSeparator && !separator) {
      plain += '.';
      separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < e && (text[i] == L'e' || text[i] == L'E')) {
    plain += 'e';
    ++i;
    if (i < e && (text[i] == L'+' || text[i] == L'-')) plain += char(text[i++]);
    int exponentDigits = 0;
    for (; i < e && IsDigit(text[i]); ++i, ++exponentDigits) plain += char(text[i]);
    if (exponentDigits == 0) return false;
  }
  if (i != e) return false;
  const double parsed = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

double StrToFloat(std::wstring_view text, wchar_t decimalSeparator) {
  double value = 0;
  if (!TryStrToFloat(text, value, decimalSeparator))
    throw ConvertError(L"'" + std::wstring(text) + L"' ist kein gültiger Gleitkommawert");
  return value;
}

std::wstring FormatFloat(std::wstring_view pattern, double value, wchar_t decimalSeparator) {
  int decimals = 0;
  const std::size_t point = pattern.find(L'.');
  if (point != std::wstring_view::npos) decimals = static_cast<int>(pattern.size() - point - 1);
  if (!std::isfinite(value) || std::fabs(value) >= 1e18) throw FloatInvalidOperation();
  double scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  const double scaled = std::round(std::fabs(value) * scale);
  std::wstring digits;
  if (scaled >= 9.2e18) throw FloatInvalidOperation();
  digits = std::to_wstring(static_cast<std::uint64_t>(scaled));
  if (digits.size() <= static_cast<std::size_t>(decimals))
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), L'0');
  std::wstring out = digits.substr(0, digits.size() - decimals);
  if (decimals > 0) out += decimalSeparator + digits.substr(digits.size() - decimals);
  if (value < 0 && scaled != 0) out.insert(0, 1, L'-');
  return out;
}

}  // namespace corvel
