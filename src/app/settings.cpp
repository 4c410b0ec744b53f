#include "app/settings.h"

#include <cstdint>
#include <utility>

#include "base/text.h"

namespace corvel {

namespace {

std::string Vigenere(std::string_view key, std::string_view bytes, int direction) {
  std::string out(bytes);
  if (key.empty()) return out;
  unsigned char* p = reinterpret_cast<unsigned char*>(out.data());
  for (std::size_t j = 0; j < out.size(); ++j)
    p[j] = static_cast<unsigned char>(p[j] + direction * static_cast<unsigned char>(key[j % key.size()]));
  return out;
}

std::wstring LineOf(const std::vector<std::wstring>& lines, std::size_t index) {
  return index < lines.size() ? lines[index] : std::wstring();
}

}  // namespace

std::string VigenereEncode(std::string_view key, std::string_view bytes) { return Vigenere(key, bytes, +1); }
std::string VigenereDecode(std::string_view key, std::string_view bytes) { return Vigenere(key, bytes, -1); }

bool LooksEnciphered(std::wstring_view text) {
  std::wstring b = RemoveAll(text, L"\r\n");
  b = RemoveAll(b, L"\t");
  b = RemoveAllIgnoreCaseAscii(b, L"kqo");
  b = RemoveAll(b, L" ");
  // A is B without what is not printable ASCII; only its length matters.
  std::size_t a = 0;
  for (const wchar_t* p = b.data(), *end = p + b.size(); p < end; ++p)
    a += static_cast<std::uint32_t>(*p) >= 33 && static_cast<std::uint32_t>(*p) <= 126;
  if (a == b.size()) return false;
  if (a == 0) return true;
  return static_cast<long long>(a) < RoundHalfEven(static_cast<double>(b.size()) / 1.4);
}


namespace {

// The deciphered text when the bytes are exactly what BuildSettingsFile writes.
std::optional<std::wstring> DecipherOwnFile(std::string_view fileBytes, const CodePage& cp) {
  const std::size_t n = fileBytes.size();
  if (n < 4 || fileBytes.substr(n - 2) != "\r\n") return std::nullopt;
  const std::string plain = VigenereDecode(kSettingsKey, fileBytes);
  // The last enciphered line break, checked first so that other files cost little.
  if (plain.compare(n - 4, 2, "\r\n") != 0) return std::nullopt;
  std::wstring text = cp.FromAnsi(std::string_view(plain).substr(0, n - 2));
  const auto lines = SplitLinesCrLf(text, kSettingsLineCount + 1);
  if (lines.size() != kSettingsLineCount || text.size() < 2 || text.compare(text.size() - 2, 2, L"\r\n") != 0)
    return std::nullopt;
  if (lines[9] != L"true" && lines[9] != L"false") return std::nullopt;
  int language = 0;
  if (!TryStrToInt(lines[10], language) || IntToStr(language) != lines[10]) return std::nullopt;
  // The writer's plain CR LF deciphers too, into a short line after line 10.
  text += cp.FromAnsi(std::string_view(plain).substr(n - 2));
  return text;
}

}  // namespace

bool IsEncipheredSettingsFile(std::string_view fileBytes, const CodePage& cp) {
  return DecipherOwnFile(fileBytes, cp).has_value();
}

std::wstring SettingsFileText(std::string_view fileBytes, const CodePage& cp) {
  if (auto own = DecipherOwnFile(fileBytes, cp)) return std::move(*own);
  std::wstring text = cp.FromAnsi(fileBytes);
  // Deciphering works on the file's own bytes, not on the text converted back:
  // a code page that does not round-trip every byte would lose some of them.
  if (LooksEnciphered(text)) text = cp.FromAnsi(VigenereDecode(kSettingsKey, fileBytes));
  return text;
}

void ApplySettingsFile(const std::optional<std::string>& fileBytes, const CodePage& cp, SettingsFields& f) {
  std::vector<std::wstring> lines;
  if (fileBytes) {
    // Lines beyond index 10 are ignored, so a huge file costs no more than its text.
    lines = SplitLinesCrLf(SettingsFileText(*fileBytes, cp), kSettingsLineCount);
    f.line0 = LineOf(lines, 0);
    f.line1 = LineOf(lines, 1);
    f.server = LineOf(lines, 2);
    f.user = LineOf(lines, 3);
    f.password = LineOf(lines, 4);
    f.anonymous = !Trim(LineOf(lines, 5)).empty();
  }
  f.ftpClient = LineOf(lines, 6);
  f.width = Trim(LineOf(lines, 7));
  f.height = Trim(LineOf(lines, 8));
  const std::wstring kept = LineOf(lines, 9);
  if (kept == L"true") f.keptFlag = true;
  else if (kept == L"false") f.keptFlag = false;
  const std::wstring language = Trim(LineOf(lines, 10));
  if (!language.empty()) TryStrToInt(language, f.uiLanguage);
}

std::string BuildSettingsFile(SettingsFields& f, const CodePage& cp) {
  if (!Trim(f.user).empty()) f.anonymous = false;
  const std::wstring lines[kSettingsLineCount] = {
      f.line0, f.line1, f.server, f.user, f.password,
      f.anonymous ? L"Anonym" : L"  ",
      Trim(f.ftpClient), Trim(f.width), Trim(f.height),
      f.keptFlag ? L"true" : L"false",
      IntToStr(f.uiLanguage),
  };
  std::wstring text;
  for (const auto& line : lines) text += line + L"\r\n";
  std::string bytes = VigenereEncode(kSettingsKey, cp.ToAnsi(text));
  bytes += "\r\n";
  return bytes;
}

}  // namespace corvel
