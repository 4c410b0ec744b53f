#include "win/registry.h"

#include <cwchar>

#include "base/errors.h"
#include "win/system_message.h"

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

std::optional<RegistryKey> RegistryKey::Open(HKEY root, const wchar_t* path, REGSAM access, LSTATUS* status) {
  HKEY key = nullptr;
  const LSTATUS result = RegOpenKeyExW(root, path, 0, access, &key);
  if (status) *status = result;
  if (result != ERROR_SUCCESS) return std::nullopt;
  return RegistryKey(key);
}

std::optional<RegistryKey> RegistryKey::Create(HKEY root, const wchar_t* path, REGSAM access, LSTATUS* status) {
  HKEY key = nullptr;
  const LSTATUS result = RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, &key, nullptr);
  if (status) *status = result;
  if (result != ERROR_SUCCESS) return std::nullopt;
  return RegistryKey(key);
}

std::vector<std::wstring> RegistryKey::ValueNames() const {
  DWORD count = 0, longest = 0;
  LSTATUS status = RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest,
                                    nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) throw Error(SystemMessage(static_cast<DWORD>(status)));
  std::vector<std::wstring> names;
  std::wstring name(longest + 1, L'\0');
  for (DWORD i = 0;;) {
    DWORD length = static_cast<DWORD>(name.size());
    status = RegEnumValueW(key_.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA) {  // a longer name came in meanwhile: the same index with more room
      name.resize(name.size() * 2);
      continue;
    }
    if (status != ERROR_SUCCESS) throw Error(SystemMessage(static_cast<DWORD>(status)));
    names.emplace_back(name.data(), length);
    ++i;
  }
  return names;
}

std::optional<DWORD> RegistryKey::ValueType(const wchar_t* name) const {
  DWORD type = 0;
  if (RegQueryValueExW(key_.get(), name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) return std::nullopt;
  return type;
}

std::wstring RegistryKey::Text(const wchar_t* name) const { return RegistryText(key_.get(), nullptr, name); }

LSTATUS RegistryKey::SetText(const wchar_t* name, const std::wstring& text) const {
  return RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LSTATUS RegistryKey::DeleteValue(const wchar_t* name) const { return RegDeleteValueW(key_.get(), name); }

}  // namespace corvel
