#include "win/support/temp_folder.h"

#include <stdexcept>

namespace corvel::testing {

namespace {
// Removes a tree without entering links (they go as entries); the folder is
// given in the extended-length form so paths beyond MAX_PATH go too.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = folder + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      const bool dir = fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      if (dir && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) RemoveTree(full + L"\\");
      else if (dir) RemoveDirectoryW(full.c_str());
      else DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}
}  // namespace

TempFolder::TempFolder(const std::wstring& prefix) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  path_ = std::wstring(base) + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L"\\";
  if (!CreateDirectoryW(path_.c_str(), nullptr)) throw std::runtime_error("cannot create the test folder");
}

TempFolder::~TempFolder() { RemoveTree(L"\\\\?\\" + path_); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a test file");
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
}

}  // namespace corvel::testing
