#include "cleaner/rule_list.h"

#include "base/path.h"
#include "base/text.h"

namespace corvel {

std::wstring RuleListPath(std::wstring_view commonAppData) {
  return WithoutTrailingBackslash(std::wstring(commonAppData)) + L"\\lgxdata\\cleaner.lst";
}

std::vector<std::wstring> DecodeRuleList(std::string_view bytes, const CodePage& codePage) {
  const std::wstring text = DecodeTextFile(bytes, codePage);
  std::vector<std::wstring> lines;
  std::wstring line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      lines.push_back(line);
      line.clear();
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string EncodeRuleList(const std::vector<std::wstring>& lines, const CodePage& codePage) {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  std::string ansi = codePage.ToAnsi(text);
  if (codePage.FromAnsi(ansi) == text && !StartsLikeByteOrderMark(ansi)) return ansi;
  return "\xEF\xBB\xBF" + Narrow(text);
}

}  // namespace corvel
