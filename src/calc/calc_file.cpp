#include "calc/calc_file.h"

#include "base/text.h"

namespace corvel {

std::string EncodeCalcFile(std::wstring_view text, const CodePage& codePage) {
  const std::string ansi = codePage.ToAnsi(text) + "\r\n";
  // ANSI that begins like a byte-order mark would load as UTF-8 or UTF-16.
  if (!StartsLikeByteOrderMark(ansi)) return ansi;
  return "\xEF\xBB\xBF" + Narrow(std::wstring(text) + L"\r\n");
}

std::wstring DecodeCalcFile(std::string_view bytes, const CodePage& codePage) {
  std::wstring text = DecodeTextFile(bytes, codePage);
  for (auto& c : text)
    if (c == 0) c = L' ';
  return text;
}

}  // namespace corvel
