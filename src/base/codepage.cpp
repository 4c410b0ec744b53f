#include "base/codepage.h"

#include <array>
#include <cstdint>

#include "base/text.h"

namespace corvel {

namespace {

// Windows-1252 characters of the bytes 0x80..0x9F.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::string Latin1CodePage::ToAnsi(std::wstring_view text) const {
  std::string out(text.size(), '\0');
  char* o = out.data();
  const wchar_t* p = text.data();
  const wchar_t* const end = p + text.size();
  for (; p < end; ++p) {
    const auto c = static_cast<std::uint32_t>(*p);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      *o++ = static_cast<char>(c);
      continue;
    }
    char byte = '?';
    for (std::size_t k = 0; k < kHigh1252.size(); ++k)
      if (kHigh1252[k] == c) byte = static_cast<char>(0x80 + k);
    // A surrogate pair is one character: one replacement, as the system does.
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && p + 1 < end &&
        static_cast<std::uint32_t>(p[1]) >= 0xDC00 && static_cast<std::uint32_t>(p[1]) <= 0xDFFF)
      ++p;
    *o++ = byte;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::wstring Latin1CodePage::FromAnsi(std::string_view bytes) const {
  std::wstring out(bytes.size(), L'\0');
  wchar_t* o = out.data();
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    *o++ = b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(kHigh1252[b - 0x80]) : static_cast<wchar_t>(b);
  }
  return out;
}

namespace {

std::wstring Utf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
  }
  return out;
}

}  // namespace

std::wstring DecodeTextFile(std::string_view bytes, const CodePage& codePage) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return Widen(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return Utf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return Utf16(bytes.substr(2), true);
  return codePage.FromAnsi(bytes);
}

bool StartsLikeByteOrderMark(std::string_view bytes) {
  return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

}  // namespace corvel
