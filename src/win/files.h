// Whole-file reads and safe replacing writes, byte-exact (no line-break
// conversion, zero bytes kept).
#pragma once
#include <optional>
#include <string>

namespace corvel {

bool FileExists(const std::wstring& path);       // a file, not a folder
bool DirectoryExists(const std::wstring& path);

// The file's bytes; nullopt when there is no such file. Throws InOutError when
// the file exists but cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// Writes bytes to a temporary file beside path and only then replaces path
// with it, so a failed write leaves the previous file untouched. Throws
// InOutError on failure.
void WriteFileReplacing(const std::wstring& path, const std::string& bytes);

}  // namespace corvel
