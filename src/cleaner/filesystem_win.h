// The cleaning engine's file system on Win32: wide functions with
// extended-length paths, the shell's delete as the second way.
#pragma once
#include <windows.h>

#include "cleaner/engine.h"

namespace corvel {

class Win32FileSystem : public FileSystem {
 public:
  // `owner` is the window the shell's delete reports to (it shows nothing).
  explicit Win32FileSystem(HWND owner = nullptr) : owner_(owner) {}
  Kind Probe(const std::wstring& path) override;
  bool List(const std::wstring& folder, std::vector<FileEntry>& entries) override;
  double LastWritten(const std::wstring& path) override;
  std::uint64_t SizeOf(const std::wstring& path) override;
  bool RemoveFile(const std::wstring& path) override;
  bool ShellDelete(const std::wstring& path) override;
  bool RemoveFolder(const std::wstring& path) override;

 private:
  HWND owner_;
};

}  // namespace corvel
