// Path parts, each once: "\", "/" (which Windows takes as "\") and ":" end
// the folder part (a drive-relative "C:name" has the folder "C:"); the
// extension is the text from the last "." of the name part on. Pure text
// work: nothing is asked of the file system. Portable.
#pragma once
#include <string>
#include <string_view>

namespace corvel {

// Folder + "\" + name, without doubling the backslash after a drive root
// and without turning a drive-relative "C:" into the root "C:\".
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// The folder of a path as a folder is written: the text before its last
// backslash, a drive root and the root "\" keeping theirs ("C:\a" gives
// "C:\", "C:\a\b" gives "C:\a"). Empty without a backslash.
std::wstring ParentFolder(std::wstring_view path);

// The path without its trailing backslashes ("C:\" gives "C:").
std::wstring WithoutTrailingBackslash(std::wstring path);

// "C:\a\b.txt" -> "C:\a\" (with its delimiter); "" when there is none.
std::wstring FolderPart(std::wstring_view path);
// "C:\a\b.txt" -> "b.txt".
std::wstring FileNamePart(std::wstring_view path);
// "C:\a\b.tar.gz" -> ".gz"; "" for a name without "." ("C:\a.d\b" has none).
std::wstring ExtensionPart(std::wstring_view path);

}  // namespace corvel
