#include "cleaner/reboot_delete.h"

#include "base/text.h"

namespace corvel {

std::vector<std::wstring> AddWininitDeletion(const std::vector<std::wstring>& lines, const std::wstring& shortPath) {
  if (lines.empty()) return {L"[rename]", L"NUL=" + shortPath};
  std::vector<std::wstring> out;
  for (const auto& line : lines) {
    out.push_back(line);
    if (SameTextAscii(line, L"[rename]")) out.push_back(L"NUL=" + shortPath);
  }
  return out;
}

}  // namespace corvel
