#include "cleaner/rule_list.h"

#include "base/text.h"

namespace corvel {
namespace {

std::wstring Utf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
  }
  return out;
}

// What DecodeRuleList takes for a byte-order mark.
bool StartsLikeByteOrderMark(std::string_view bytes) {
  return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

}  // namespace

std::wstring RuleListPath(std::wstring_view commonAppData) {
  std::wstring base(commonAppData);
  while (!base.empty() && base.back() == L'\\') base.pop_back();
  return base + L"\\lgxdata\\cleaner.lst";
}

std::vector<std::wstring> DecodeRuleList(std::string_view bytes, const CodePage& codePage) {
  std::wstring text;
  if (bytes.starts_with("\xEF\xBB\xBF")) text = Widen(bytes.substr(3));
  else if (bytes.starts_with("\xFF\xFE")) text = Utf16(bytes.substr(2), false);
  else if (bytes.starts_with("\xFE\xFF")) text = Utf16(bytes.substr(2), true);
  else text = codePage.FromAnsi(bytes);
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
