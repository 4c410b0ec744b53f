// An in-memory file system for the cleaning engine: folders, files, links,
// read-only and locked files, folders that cannot be listed. Every operation
// on a path below a link is recorded as a violation: the engine must never
// reach through one.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "cleaner/engine.h"

namespace corvel::fake {

class FakeFileSystem : public FileSystem {
 public:
  struct Node {
    std::wstring path;
    Kind kind = Kind::File;
    std::uint64_t size = 0;
    double written = 0;
    bool readOnly = false;
    bool locked = false;    // neither way of deleting works
    bool unlisted = false;  // a folder that cannot be entered
  };

  Node& AddFolder(const std::wstring& path) { return Add(path, Kind::Folder); }
  Node& AddFile(const std::wstring& path, std::uint64_t size = 1, double written = 0) {
    Node& n = Add(path, Kind::File);
    n.size = size;
    n.written = written;
    return n;
  }
  Node& AddLink(const std::wstring& path, bool folder) { return Add(path, folder ? Kind::FolderLink : Kind::FileLink); }
  bool Exists(const std::wstring& path) const { return nodes_.count(Key(path)) != 0; }
  std::vector<std::wstring> Paths() const {
    std::vector<std::wstring> out;
    for (const auto& [k, n] : nodes_) out.push_back(n.path);
    return out;
  }

  Kind Probe(const std::wstring& path) override {
    Check(path);
    const auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? Kind::Missing : it->second.kind;
  }
  bool List(const std::wstring& folder, std::vector<FileEntry>& entries) override {
    Check(folder);
    ++lists;
    const auto it = nodes_.find(Key(folder));
    if (it == nodes_.end() || it->second.unlisted) return false;
    if (it->second.kind == Kind::FolderLink) {  // only the rule's own folder may be one
      entries.clear();
      return true;
    }
    if (it->second.kind != Kind::Folder) return false;
    entries.clear();
    const std::wstring key = Key(folder);
    const std::wstring prefix = key.back() == L'\\' ? key : key + L'\\';
    for (auto i = nodes_.lower_bound(prefix); i != nodes_.end() && i->first.starts_with(prefix); ++i)
      if (const Node& n = i->second; Parent(i->first) == key)
        entries.push_back({Name(n.path), n.kind == Kind::Folder || n.kind == Kind::FolderLink,
                           n.kind == Kind::FileLink || n.kind == Kind::FolderLink});
    return true;
  }
  double LastWritten(const std::wstring& path) override { return Get(path) ? Get(path)->written : 0; }
  std::uint64_t SizeOf(const std::wstring& path) override { return Get(path) ? Get(path)->size : 0; }
  bool RemoveFile(const std::wstring& path) override {
    Node* n = Get(path);
    ++deleteCalls;
    if (!n || n->kind != Kind::File || n->readOnly || n->locked) return false;
    nodes_.erase(Key(path));
    return true;
  }
  bool ShellDelete(const std::wstring& path) override {
    Node* n = Get(path);
    ++shellCalls;
    if (!n || n->kind != Kind::File || n->locked) return false;
    nodes_.erase(Key(path));
    return true;
  }
  bool RemoveFolder(const std::wstring& path) override {
    ++removeAttempts;
    Node* n = Get(path);
    if (!n || n->kind != Kind::Folder) return false;
    const std::wstring key = Key(path);
    const auto next = nodes_.lower_bound(key + L'\\');
    if (next != nodes_.end() && next->first.starts_with(key + L'\\')) return false;
    nodes_.erase(key);
    return true;
  }

  std::vector<std::wstring> violations;
  long long removeAttempts = 0, deleteCalls = 0, shellCalls = 0, lists = 0;

 private:
  static std::wstring Key(const std::wstring& path) {
    std::wstring k = AsciiLower(path);
    if (k.size() > 3 && k.back() == L'\\') k.pop_back();
    return k;
  }
  static std::wstring Parent(const std::wstring& key) {
    const std::size_t s = key.rfind(L'\\');
    if (s == std::wstring::npos) return L"";
    std::wstring p = key.substr(0, s);
    if (!p.empty() && p.back() == L':') p += L'\\';
    return p == key ? L"" : p;
  }
  static std::wstring Name(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }
  Node& Add(const std::wstring& path, Kind kind) {
    const std::wstring parent = Parent(Key(path));
    if (!parent.empty() && !nodes_.count(parent)) Add(parent.size() == 3 ? path.substr(0, 3) : path.substr(0, path.rfind(L'\\')), Kind::Folder);
    Node& n = nodes_[Key(path)];
    n.path = path;
    n.kind = kind;
    return n;
  }
  Node* Get(const std::wstring& path) {
    Check(path);
    const auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? nullptr : &it->second;
  }
  // Anything strictly below a link is reached through it.
  void Check(const std::wstring& path) {
    for (std::wstring p = Parent(Key(path)); !p.empty(); p = Parent(p)) {
      const auto it = nodes_.find(p);
      if (it != nodes_.end() && (it->second.kind == Kind::FolderLink || it->second.kind == Kind::FileLink)) {
        violations.push_back(path);
        return;
      }
    }
  }

  std::map<std::wstring, Node> nodes_;
};

}  // namespace corvel::fake
