#include "cleaner/options_logic.h"

#include "base/text.h"

namespace corvel {
namespace {

// The first occurrence of `needle`, letters compared without regard to case.
std::wstring RemoveFirstIgnoreCase(const std::wstring& text, const std::wstring& needle) {
  const std::size_t p = Pos(AsciiLower(needle), AsciiLower(text));
  if (p == 0) return text;
  return text.substr(0, p - 1) + text.substr(p - 1 + needle.size());
}

// Digits, with blanks around them at most: what the engine reads after "/d".
bool IsDayCount(const std::wstring& text) {
  const std::wstring digits = Trim(text);
  if (digits.empty()) return false;
  for (wchar_t c : digits)
    if (c < L'0' || c > L'9') return false;
  return true;
}

}  // namespace

RuleInputError FormRuleLine(const RuleInputs& in, std::wstring& line) {
  std::wstring folder = ReplaceAll(Trim(in.folder), L"/", L"\\");
  if (folder.empty()) return RuleInputError::NoPath;
  while (folder.size() > 1 && folder.back() == L'\\' && folder[folder.size() - 2] == L'\\') folder.pop_back();
  if (folder.back() != L'\\') folder += L'\\';
  const std::wstring mask = in.maskChoice == 0 ? std::wstring(L"*.*") : Trim(in.mask);
  std::wstring options = in.subfolders ? L" /u" : L"";
  if (in.days == L"0") return RuleInputError::ZeroDays;  // even with the age box off
  if (in.ageOn && !IsDayCount(in.days)) return RuleInputError::BadDays;
  if (in.ageOn) options += L" /d" + in.days;
  if (mask.empty() || mask.find(L'/') != std::wstring::npos) return RuleInputError::InvalidMask;
  line = Trim(folder + mask + options);
  return RuleInputError::None;
}

void TakeRuleBack(const std::wstring& line, RuleInputs& in) {
  const std::size_t slash = line.rfind(L'\\');
  const std::wstring path = slash == std::wstring::npos ? std::wstring() : line.substr(0, slash + 1);
  std::wstring name = slash == std::wstring::npos ? line : line.substr(slash + 1);
  if (Pos(L"/u", name) > 0) {
    in.subfolders = true;
    name = RemoveFirstIgnoreCase(name, L"/u");
  }
  if (const std::size_t p = Pos(L"/d", name); p > 0) {
    in.days = Trim(RemoveFirstIgnoreCase(Copy(name, static_cast<long long>(p), 4), L"/d"));
    in.ageOn = true;
    name = Copy(name, 1, static_cast<long long>(p) - 1);
  }
  if (Trim(name) == L"*.*") {
    in.maskChoice = 0;
  } else {
    // The blanks that stood before the options are no part of the mask.
    in.mask = TrimRight(name);
    in.maskChoice = 1;
  }
  in.folder = path;
}

}  // namespace corvel
