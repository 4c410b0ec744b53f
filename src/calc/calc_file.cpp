#include "calc/calc_file.h"

#include "base/text.h"

namespace corvel {
namespace {

// What DecodeCalcFile takes for a byte-order mark.
bool StartsLikeByteOrderMark(std::string_view bytes) {
  return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

}  // namespace

std::string EncodeCalcFile(std::wstring_view text, const CodePage& codePage) {
  const std::string ansi = codePage.ToAnsi(text) + "\r\n";
  // ANSI that begins like a byte-order mark would load as UTF-8 or UTF-16.
  if (!StartsLikeByteOrderMark(ansi)) return ansi;
  return "\xEF\xBB\xBF" + Narrow(std::wstring(text) + L"\r\n");
}

std::wstring DecodeCalcFile(std::string_view bytes, const CodePage& codePage) {
  std::wstring text;
  auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  if (starts("\xEF\xBB\xBF")) {
    text = Widen(bytes.substr(3));
  } else if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    const bool little = bytes[0] == '\xFF';
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
      const auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
      text += static_cast<wchar_t>(lo | (hi << 8));
    }
  } else {
    text = codePage.FromAnsi(bytes);
  }
  for (auto& c : text)
    if (c == 0) c = L' ';
  return text;
}

}  // namespace corvel
