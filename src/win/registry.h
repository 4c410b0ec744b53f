// The registry: reading the system's values with read access only, any
// length; and keys opened for what an operation needs (reading to list and
// show, writing only to add or remove), in a chosen registry view.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/handles.h"

namespace corvel {

// A text value (REG_SZ, or REG_EXPAND_SZ as stored, not expanded); empty when
// the key or value is missing or holds another type. name null: the default value.
std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* name);

// A REG_DWORD value; nothing when missing or of another type.
std::optional<DWORD> RegistryDword(HKEY root, const wchar_t* key, const wchar_t* name);

class RegistryKey {
 public:
  // access: KEY_READ, KEY_SET_VALUE, ... with KEY_WOW64_32KEY/64KEY for a
  // view. Nothing when the key cannot be opened; *status tells why.
  static std::optional<RegistryKey> Open(HKEY root, const wchar_t* path, REGSAM access, LSTATUS* status = nullptr);
  // Opens the key, creating it when missing.
  static std::optional<RegistryKey> Create(HKEY root, const wchar_t* path, REGSAM access, LSTATUS* status = nullptr);

  // The value names in the order the registry enumerates them; throws Error
  // with the system's message when the enumeration fails.
  std::vector<std::wstring> ValueNames() const;
  // The value's type (REG_SZ, REG_EXPAND_SZ, ...); nothing when there is none.
  std::optional<DWORD> ValueType(const wchar_t* name) const;
  // A REG_SZ or REG_EXPAND_SZ value as stored; empty for anything else.
  std::wstring Text(const wchar_t* name) const;
  LSTATUS SetText(const wchar_t* name, const std::wstring& text) const;  // as REG_SZ
  LSTATUS DeleteValue(const wchar_t* name) const;

 private:
  explicit RegistryKey(HKEY key) : key_(key) {}
  UniqueRegKey key_;
};

}  // namespace corvel
