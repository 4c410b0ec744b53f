// Temporary copies of the settings cipher helpers until src/app/settings.h
// provides them; removed once it does.
#pragma once
#include <cmath>
#include <string>
#include <string_view>

namespace corvel {

inline std::string VigenereDecode(std::string_view key, std::string_view bytes) {
  std::string out(bytes);
  if (key.empty()) return out;
  for (std::size_t j = 0; j < out.size(); ++j)
    out[j] = static_cast<char>(static_cast<unsigned char>(out[j]) - static_cast<unsigned char>(key[j % key.size()]));
  return out;
}

inline bool LooksEnciphered(std::wstring_view text) {
  std::wstring b(text);
  auto erase_all = [&b](std::wstring_view what, bool ignoreCase) {
    for (std::size_t i = 0; i + what.size() <= b.size();) {
      bool match = true;
      for (std::size_t k = 0; k < what.size() && match; ++k) {
        wchar_t c = b[i + k];
        if (ignoreCase && c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
        match = c == what[k];
      }
      if (match) b.erase(i, what.size());
      else ++i;
    }
  };
  erase_all(L"\r\n", false);
  erase_all(L"\t", false);
  erase_all(L"kqo", true);
  erase_all(L" ", false);
  std::wstring a;
  for (wchar_t c : b)
    if (c >= 33 && c <= 126) a += c;
  if (a == b) return false;
  if (a.empty()) return true;
  return static_cast<double>(a.size()) < std::nearbyint(static_cast<double>(b.size()) / 1.4);
}

}  // namespace corvel
