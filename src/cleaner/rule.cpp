#include "cleaner/rule.h"

#include <cmath>
#include <cstdint>

#include "base/errors.h"
#include "base/text.h"

namespace corvel {
namespace {

// Case folding for names: ASCII and the Latin-1 letters (umlauts and the
// like), which covers the names rules are written for.
wchar_t Fold(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
  return c;
}

// Plain matching: "*" any run of characters, "?" exactly one.
bool Plain(std::wstring_view p, std::wstring_view n) {
  std::size_t pi = 0, ni = 0, starP = std::wstring_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == L'*') {
      starP = pi++;
      starN = ni;
    } else if (pi < p.size() && (p[pi] == L'?' || Fold(p[pi]) == Fold(n[ni]))) {
      ++pi;
      ++ni;
    } else if (starP != std::wstring_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') ++pi;
  return pi == p.size();
}

// "/d" is followed by up to 10 characters holding the day count. The
// run-time's integer conversion reads it; ten digits beyond the 32-bit range
// are still a whole number and are taken modulo 65536 like any other.
std::uint16_t ReadDays(const std::wstring& text) {
  if (text.size() > 10) throw ConvertError(L"'" + text + L"' ist kein g\u00fcltiger ganzzahliger Wert");
  int value = 0;
  if (TryStrToInt(text, value)) return static_cast<std::uint16_t>(value);
  const std::wstring digits = TrimLeft(text);
  bool allDigits = !digits.empty();
  for (wchar_t c : digits) allDigits = allDigits && c >= L'0' && c <= L'9';
  if (!allDigits) StrToInt(text);  // throws the conversion error
  std::uint64_t big = 0;
  for (wchar_t c : digits) big = big * 10 + static_cast<unsigned>(c - L'0');
  return static_cast<std::uint16_t>(big % 65536);
}

}  // namespace

bool MatchesPattern(std::wstring_view pattern, std::wstring_view name) {
  if (pattern.empty() || name.empty()) return false;
  // ".*" at the end also matches a name without an extension ("*.*" every
  // name, "a*.*" also "abc").
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == L".*") {
    if (Plain(pattern, name)) return true;
    return Plain(pattern.substr(0, pattern.size() - 2), name);
  }
  // A dot at the end stands for "no extension": "*." matches names without
  // a dot, "readme." matches "readme".
  if (pattern.back() == L'.') {
    const std::wstring_view stem = pattern.substr(0, pattern.size() - 1);
    if (stem.empty()) return false;
    if (stem.find(L'.') == std::wstring_view::npos && name.find(L'.') != std::wstring_view::npos) return false;
    return Plain(stem, name);
  }
  return Plain(pattern, name);
}

bool MatchesMask(std::wstring_view mask, std::wstring_view name) {
  std::size_t start = 0;
  while (start <= mask.size()) {
    std::size_t end = mask.find(L';', start);
    if (end == std::wstring_view::npos) end = mask.size();
    if (MatchesPattern(mask.substr(start, end - start), name)) return true;
    start = end + 1;
  }
  return false;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring out(folder);
  // "C:" names the current folder of drive C, not its root.
  if (out.empty() || (out.back() != L'\\' && out.back() != L':')) out += L'\\';
  out += name;
  return out;
}

std::wstring ParentFolder(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring_view::npos) return {};
  if (slash == 0 || path[slash - 1] == L':') return std::wstring(path.substr(0, slash + 1));
  return std::wstring(path.substr(0, slash));
}

CleanRule ReadCleanRule(std::wstring_view raw, double now) {
  CleanRule rule;
  std::wstring line = Trim(raw);
  rule.isMask = line.find(L'*') != std::wstring::npos;
  if (const std::size_t u = line.find(L"/u"); u != std::wstring::npos) {
    rule.subfolders = true;
    line = Trim(line.erase(u, 2));
  }
  if (const std::size_t d = line.find(L"/d"); d != std::wstring::npos) {
    rule.hasAge = true;
    // Up to 10 characters; anything after them is not read past silently
    // but makes the count unreadable.
    const std::wstring count = line.substr(d + 2);
    rule.ageDays = ReadDays(count.size() > 10 ? count : count.substr(0, 10));
    rule.cutoff = std::floor(now) - rule.ageDays;
    line = Trim(line.substr(0, d));
  }
  if (!rule.isMask) {
    rule.file = line;
    return rule;
  }
  const std::size_t lastSlash = line.rfind(L'\\');
  const std::size_t lastSep = line.find_last_of(L"\\:");
  rule.mask = lastSep == std::wstring::npos ? line : line.substr(lastSep + 1);
  if (lastSlash == std::wstring::npos) {
    // "C:*.tmp": the folder is the drive; no separator at all: none.
    rule.folder = lastSep == std::wstring::npos ? std::wstring() : line.substr(0, lastSep + 1);
  } else if (lastSlash == 0 || line[lastSlash - 1] == L':' || line[lastSlash - 1] == L'\\') {
    rule.folder = line.substr(0, lastSlash + 1);  // "C:\", "\"
  } else {
    rule.folder = line.substr(0, lastSlash);
  }
  return rule;
}

}  // namespace corvel
