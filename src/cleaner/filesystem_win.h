// The cleaning engine's file system on Win32. A rule's folder is opened as
// the rule names it; every folder below it is opened relative to the handle
// of its parent, without following a link, and checked by that handle to be
// a plain folder; files are opened the same way, checked by handle and
// deleted through it. So nothing outside the tree is reached whatever is
// swapped in meanwhile, names are used exactly as listed (a trailing blank
// or dot included), and a file costs four calls: open, query, delete, close.
// An emptied folder the walk left open is removed through that handle.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "cleaner/engine.h"
#include "win/handles.h"

namespace corvel {

class Win32FileSystem : public FileSystem {
 public:
  std::wstring FullPath(const std::wstring& path) override;
  Kind Probe(const std::wstring& path) override;
  Listing List(const std::wstring& tree, const std::wstring& folder, std::vector<FileEntry>& entries) override;
  Outcome RemoveFile(const std::wstring& tree, const std::wstring& path, const Allow& allow) override;
  Outcome RemoveFolder(const std::wstring& tree, const std::wstring& path) override;
  void Close() override;

 private:
  enum class Reach { Open, Missing, Denied };
  // The folders from the tree down to the one used last, each opened
  // relative to the one before: walks that go one level deeper at a time
  // open one folder per level.
  struct Opened {
    std::wstring name;  // empty for the tree itself
    UniqueHandle handle;
    bool listable = true;
    bool deletable = false;  // opened with delete access: removed through this handle
  };
  // Makes the chain end at `folder`.
  Reach Enter(const std::wstring& tree, const std::wstring& folder);
  // True when the chain ends at `folder` now.
  bool EndsAt(const std::wstring& tree, const std::wstring& folder) const;

  std::wstring tree_;
  std::vector<Opened> chain_;
};

}  // namespace corvel
