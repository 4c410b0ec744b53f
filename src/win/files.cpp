#include "win/files.h"

#include <windows.h>

#include "base/errors.h"
#include "win/handles.h"

namespace corvel {

using FileHandle = UniqueHandle;

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) {
    DWORD e = GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw InOutError(e);
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) throw InOutError(GetLastError());
  std::string bytes;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), got = 0;
    if (!ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr)) throw InOutError(GetLastError());
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

void WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  std::wstring temp = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
  {
    FileHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) throw InOutError(GetLastError());
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), put = 0;
      ok = WriteFile(file.Get(), bytes.data() + done, chunk, &put, nullptr) && put == chunk;
      done += put;
    }
    if (ok) ok = FlushFileBuffers(file.Get()) != FALSE;
    if (!ok) {
      DWORD e = GetLastError();
      file.Close();
      DeleteFileW(temp.c_str());
      throw InOutError(e ? e : ERROR_WRITE_FAULT);
    }
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD e = GetLastError();
    DeleteFileW(temp.c_str());
    throw InOutError(e);
  }
}

}  // namespace corvel
