#include "base/text.h"

#include <cmath>
#include <cstdint>

#include "base/errors.h"

namespace corvel {

namespace {

bool IsTrimmed(wchar_t c) { return static_cast<std::uint32_t>(c) <= 32; }

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }
wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

// One pass, left to right; the replaced text is not searched again. `match`
// looks at fromSize characters from p. Raw pointers keep large texts cheap
// even in unoptimised builds.
template <typename Match>
std::wstring Replace(std::wstring_view text, std::size_t fromSize, std::wstring_view to, Match match) {
  std::wstring out;
  out.reserve(text.size());
  const wchar_t* p = text.data();
  const wchar_t* const end = p + text.size();
  const wchar_t* run = p;
  if (fromSize > 0 && text.size() >= fromSize) {
    const wchar_t* const last = end - fromSize;
    while (p <= last) {
      if (match(p)) {
        out.append(run, static_cast<std::size_t>(p - run));
        out.append(to);
        p += fromSize;
        run = p;
      } else {
        ++p;
      }
    }
  }
  out.append(run, static_cast<std::size_t>(end - run));
  return out;
}

bool ParseInt(std::wstring_view s, int& value) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == L' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
  bool hex = false;
  if (i < s.size() && (s[i] == L'$' || s[i] == L'x' || s[i] == L'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return false;
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
  std::uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const wchar_t c = s[i];
    unsigned digit;
    if (c >= L'0' && c <= L'9') digit = unsigned(c - L'0');
    else if (hex && c >= L'a' && c <= L'f') digit = unsigned(c - L'a' + 10);
    else if (hex && c >= L'A' && c <= L'F') digit = unsigned(c - L'A' + 10);
    else return false;
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) return false;
  }
  const std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  const std::uint32_t result = negative ? 0u - bits : bits;
  value = static_cast<int>(static_cast<std::int32_t>(result));
  return true;
}

void AppendCodePoint(std::wstring& out, std::uint32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

}  // namespace

std::wstring TrimLeft(std::wstring_view text) {
  std::size_t b = 0;
  while (b < text.size() && IsTrimmed(text[b])) ++b;
  return std::wstring(text.substr(b));
}

std::wstring TrimRight(std::wstring_view text) {
  std::size_t e = text.size();
  while (e > 0 && IsTrimmed(text[e - 1])) --e;
  return std::wstring(text.substr(0, e));
}

std::wstring Trim(std::wstring_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsTrimmed(text[b])) ++b;
  while (e > b && IsTrimmed(text[e - 1])) --e;
  return std::wstring(text.substr(b, e - b));
}

std::wstring AsciiLower(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = LowerAscii(c);
  return out;
}

std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = UpperAscii(c);
  return out;
}

bool SameTextAscii(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  const wchar_t* f = from.data();
  const std::size_t n = from.size();
  return Replace(text, n, to, [f, n](const wchar_t* p) {
    if (*p != *f) return false;
    for (std::size_t k = 1; k < n; ++k)
      if (p[k] != f[k]) return false;
    return true;
  });
}

std::wstring ReplaceAllIgnoreCaseAscii(std::wstring_view text, std::wstring_view from,
                                       std::wstring_view to) {
  const std::wstring lower = AsciiLower(from);
  const wchar_t* f = lower.data();
  const std::size_t n = lower.size();
  return Replace(text, n, to, [f, n](const wchar_t* p) {
    for (std::size_t k = 0; k < n; ++k)
      if (LowerAscii(p[k]) != f[k]) return false;
    return true;
  });
}

std::size_t Pos(std::wstring_view needle, std::wstring_view text) {
  if (needle.empty()) return 0;
  const auto at = text.find(needle);
  return at == std::wstring_view::npos ? 0 : at + 1;
}

std::wstring Copy(std::wstring_view text, long long index, long long count) {
  if (index < 1) index = 1;
  if (count < 1 || static_cast<unsigned long long>(index) > text.size()) return {};
  return std::wstring(text.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}

std::wstring IntToStr(long long value) { return std::to_wstring(value); }

int StrToInt(std::wstring_view text) {
  int value = 0;
  if (!ParseInt(text, value))
    throw ConvertError(L"'" + std::wstring(text) + L"' ist kein gültiger ganzzahliger Wert");
  return value;
}

bool TryStrToInt(std::wstring_view text, int& value) {
  int parsed = 0;
  if (!ParseInt(text, parsed)) return false;
  value = parsed;
  return true;
}

long long RoundHalfEven(double value) {
  // 2^63 is exactly representable; everything at or above it does not fit.
  if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0)
    throw FloatInvalidOperation();
  const double floor = std::floor(value);
  const double diff = value - floor;
  long long result = static_cast<long long>(floor);
  if (diff > 0.5 || (diff == 0.5 && (result % 2 != 0))) ++result;
  return result;
}

std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    std::size_t length;
    std::uint32_t cp, min;
    if (b0 < 0x80) { out.push_back(static_cast<wchar_t>(b0)); ++i; continue; }
    else if ((b0 & 0xE0) == 0xC0) { length = 2; cp = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { length = 3; cp = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { length = 4; cp = b0 & 0x07; min = 0x10000; }
    else { AppendCodePoint(out, kReplacement); ++i; continue; }
    std::size_t k = 1;
    for (; k < length && i + k < utf8.size(); ++k) {
      const auto b = static_cast<unsigned char>(utf8[i + k]);
      if ((b & 0xC0) != 0x80) break;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (k < length || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      AppendCodePoint(out, kReplacement);
      i += k;  // resynchronise at the first byte that did not continue the sequence
      continue;
    }
    AppendCodePoint(out, cp);
    i += length;
  }
  return out;
}

std::string Narrow(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = static_cast<std::uint32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
        const auto low = static_cast<std::uint32_t>(text[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
    AppendUtf8(out, cp);
  }
  return out;
}

std::vector<std::wstring> SplitLinesCrLf(std::wstring_view text, std::size_t maxLines) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size() && lines.size() < maxLines) {
    const std::size_t end = text.find(L"\r\n", start);
    if (end == std::wstring_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::wstring JoinLinesCrLf(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += L"\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace corvel
