#include "win/version_resource.h"

#include <windows.h>

#include <cstdio>

namespace corvel {

std::optional<VersionBlock> ReadVersionBlock(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  VersionBlock block;
  block.data_.resize(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data_.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
      length >= sizeof(VS_FIXEDFILEINFO)) {
    block.fileVersionMS = fixed->dwFileVersionMS;
    block.fileVersionLS = fixed->dwFileVersionLS;
  } else {
    return std::nullopt;
  }
  struct Translation { WORD language, codePage; };
  Translation* translations = nullptr;
  if (VerQueryValueW(block.data_.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                     &length) &&
      translations && length >= sizeof(Translation)) {
    wchar_t name[64];
    swprintf(name, 64, L"\\StringFileInfo\\%04x%04x\\", translations[0].language, translations[0].codePage);
    block.stringBlock_ = name;
  }
  return block;
}

std::wstring VersionBlock::FileVersionText() const {
  return std::to_wstring(HIWORD(fileVersionMS)) + L"." + std::to_wstring(LOWORD(fileVersionMS)) + L"." +
         std::to_wstring(HIWORD(fileVersionLS)) + L"." + std::to_wstring(LOWORD(fileVersionLS));
}

std::wstring VersionBlock::Value(const wchar_t* key) const {
  if (stringBlock_.empty()) return {};
  const std::wstring sub = stringBlock_ + key;
  wchar_t* value = nullptr;
  UINT length = 0;
  // VerQueryValueW works on a copy it may write to; the data stay ours.
  auto* data = const_cast<char*>(data_.data());
  if (!VerQueryValueW(data, sub.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
  std::wstring text(value, length);
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

}  // namespace corvel
