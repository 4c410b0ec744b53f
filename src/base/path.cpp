#include "base/path.h"

namespace corvel {

namespace {

// Position just after the folder part: 0 when the path has no delimiter.
std::size_t NameStart(std::wstring_view path) {
  const std::size_t last = path.find_last_of(L"\\/:");
  return last == std::wstring_view::npos ? 0 : last + 1;
}

}  // namespace

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

std::wstring WithoutTrailingBackslash(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring FolderPart(std::wstring_view path) { return std::wstring(path.substr(0, NameStart(path))); }

std::wstring FileNamePart(std::wstring_view path) { return std::wstring(path.substr(NameStart(path))); }

std::wstring ExtensionPart(std::wstring_view path) {
  const std::size_t dot = path.rfind(L'.');
  if (dot == std::wstring_view::npos || dot < NameStart(path)) return {};
  return std::wstring(path.substr(dot));
}

}  // namespace corvel
