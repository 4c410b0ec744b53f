// Reading the version resource of a program file: the fixed file version and
// the string values of its first language block.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace corvel {

class VersionBlock {
 public:
  std::uint32_t fileVersionMS = 0, fileVersionLS = 0;
  // "a.b.c.d" of the fixed file version.
  std::wstring FileVersionText() const;
  // A string value ("ProductName", "CompanyName", ...) of the first language
  // block the resource lists; empty when the block lacks it.
  std::wstring Value(const wchar_t* key) const;

 private:
  friend std::optional<VersionBlock> ReadVersionBlock(const std::wstring& path);
  std::string data_;          // the resource as read
  std::wstring stringBlock_;  // "\StringFileInfo\<lang><codepage>\", empty without one
};

// Nothing when the file has no readable version resource (or does not
// exist). A bare program name is looked for the system's usual way.
std::optional<VersionBlock> ReadVersionBlock(const std::wstring& path);

}  // namespace corvel
