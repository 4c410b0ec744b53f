#include "win/registry.h"

#include <cwchar>

namespace corvel {

std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* name) {
  constexpr DWORD kFlags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  // The value may grow between the two calls; ask again while it does.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (RegGetValueW(root, key, name, kFlags, nullptr, nullptr, &size) != ERROR_SUCCESS || size < sizeof(wchar_t))
      return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    const LSTATUS status = RegGetValueW(root, key, name, kFlags, nullptr, text.data(), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
  }
  return {};
}

std::optional<DWORD> RegistryDword(HKEY root, const wchar_t* key, const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return std::nullopt;
  return value;
}

}  // namespace corvel
