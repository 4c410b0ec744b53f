// Text conventions of the run-time the program was designed on, each once:
// trimming, ASCII case folding, 1-based positions, integer conversion with the
// German conversion-error text, rounding half to even, UTF-8 for messages.
#pragma once
#include <cstddef>
#include <string>
#include <limits>
#include <string_view>
#include <vector>

namespace corvel {

// Remove every character with a code up to 32 (blank, tab, CR, LF, 0 ...) at the ends.
std::wstring Trim(std::wstring_view text);
std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);

// Case folding of 'A'..'Z' only; every other character stays as it is.
std::wstring AsciiLower(std::wstring_view text);
std::wstring AsciiUpper(std::wstring_view text);
bool SameTextAscii(std::wstring_view a, std::wstring_view b);

// Every occurrence of `from`, left to right, not overlapping; the replaced text
// is not searched again. An empty `from` leaves the text unchanged.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);
// The same with 'A'..'Z' and 'a'..'z' taken as equal.
std::wstring ReplaceAllIgnoreCaseAscii(std::wstring_view text, std::wstring_view from,
                                       std::wstring_view to);
inline std::wstring RemoveAll(std::wstring_view text, std::wstring_view needle) {
  return ReplaceAll(text, needle, {});
}
inline std::wstring RemoveAllIgnoreCaseAscii(std::wstring_view text, std::wstring_view needle) {
  return ReplaceAllIgnoreCaseAscii(text, needle, {});
}

// 1-based position of `needle` in `text`, 0 when absent (or when needle is empty).
std::size_t Pos(std::wstring_view needle, std::wstring_view text);
// Up to `count` characters from the 1-based `index`; an index below 1 counts
// as 1, one past the end or a count below 1 gives an empty text.
std::wstring Copy(std::wstring_view text, long long index, long long count);

// Lines separated by CR LF; a lone CR or LF stays inside its line, and a CR LF
// at the very end does not start another line. At most maxLines are returned.
std::vector<std::wstring> SplitLinesCrLf(std::wstring_view text,
                                         std::size_t maxLines = std::numeric_limits<std::size_t>::max());

// The lines with CR LF between them (none after the last), as a memo shows them.
std::wstring JoinLinesCrLf(const std::vector<std::wstring>& lines);

std::wstring IntToStr(long long value);

// Blanks in front, an optional sign, then decimal digits or a hexadecimal
// number after "$", "x" or "0x"; nothing may follow. Decimal values must fit a
// signed 32-bit integer; hexadecimal ones up to $FFFFFFFF are taken as its bit
// pattern. Throws ConvertError "'<text>' ist kein gültiger ganzzahliger Wert".
int StrToInt(std::wstring_view text);
bool TryStrToInt(std::wstring_view text, int& value);

// Nearest integer, a half going to the even neighbour. Throws Error
// "Ungültige Gleitkommaoperation" for NaN, infinities and values out of range.
long long RoundHalfEven(double value);

// UTF-8 <-> wide text, for messages and test output only (files use the ANSI
// code page of the settings). Malformed input becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);

}  // namespace corvel
