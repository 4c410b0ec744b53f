// A fresh folder under the test prefix's temporary folder, removed with its
// contents (long paths too, links not entered) at the end of the test.
#pragma once
#include <windows.h>

#include <string>

namespace corvel::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::wstring& prefix = L"corvel-test-");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }  // ends with a backslash
  std::wstring Folder() const { return path_.substr(0, path_.size() - 1); }  // without it
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

// Writes bytes to a file (test set-up only).
void WriteBytes(const std::wstring& path, const std::string& bytes);

}  // namespace corvel::testing
