// Reading the system's registry values: read access only, any length.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace corvel {

// A text value (REG_SZ, or REG_EXPAND_SZ as stored, not expanded); empty when
// the key or value is missing or holds another type. name null: the default value.
std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* name);

// A REG_DWORD value; nothing when missing or of another type.
std::optional<DWORD> RegistryDword(HKEY root, const wchar_t* key, const wchar_t* name);

}  // namespace corvel
