#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/text.h"
#include "calc/calc_file.h"

namespace corvel {
namespace {

TEST(CalcFile, SaveWritesAnsiAndCrLf) {
  Latin1CodePage cp;
  EXPECT_EQ(EncodeCalcFile(L"2^10", cp), "2^10\r\n");
  EXPECT_EQ(EncodeCalcFile(L"1,5*2", cp), "1,5*2\r\n");
  EXPECT_EQ(EncodeCalcFile(L"\u00e4", cp), "\xE4\r\n");
}

TEST(CalcFile, LoadHonoursByteOrderMarks) {
  Latin1CodePage cp;
  struct Case { std::string bytes; std::wstring text; };
  const Case cases[] = {
      {"2^10\r\n", L"2^10\r\n"},
      {"\xE4", L"\u00e4"},
      {"\xEF\xBB\xBF" "1+\xC3\xA4", L"1+\u00e4"},
      {std::string("\xFF\xFE" "1\0+\0" "2\0", 8), L"1+2"},
      {std::string("\xFE\xFF\0" "1\0+\0" "2", 8), L"1+2"},
      {std::string("\xFF\xFE" "1\0x", 5), L"1"},       // odd last byte dropped
      {std::string("1\0" "2", 3), L"1 2"},
      {"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeCalcFile(c.bytes, cp), c.text) << c.bytes;
}

TEST(CalcFile, RoundTrip) {
  Latin1CodePage cp;
  EXPECT_EQ(DecodeCalcFile(EncodeCalcFile(L"7/2", cp), cp), L"7/2\r\n");
  // A text whose ANSI bytes begin like a byte-order mark is saved in UTF-8
  // with its mark, so it loads as it was and not as UTF-16 or UTF-8.
  struct Case { std::wstring text; std::string bytes; };
  const Case cases[] = {
      {L"\xFF\xFE" L"1+2", "\xEF\xBB\xBF" "\xC3\xBF\xC3\xBE" "1+2\r\n"},
      {L"\xFE\xFF" L"7", "\xEF\xBB\xBF" "\xC3\xBE\xC3\xBF" "7\r\n"},
      {L"\xEF\xBB\xBF" L"2*3", "\xEF\xBB\xBF" "\xC3\xAF\xC2\xBB\xC2\xBF" "2*3\r\n"},
      {L"\xFF" L"1", "\xFF" "1\r\n"},
      {L"1\xFF\xFE", "1\xFF\xFE\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeCalcFile(c.text, cp), c.bytes) << Narrow(c.text);
    EXPECT_EQ(DecodeCalcFile(EncodeCalcFile(c.text, cp), cp), c.text + L"\r\n") << Narrow(c.text);
  }
}

}  // namespace
}  // namespace corvel
