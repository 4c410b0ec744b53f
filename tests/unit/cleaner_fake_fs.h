// An in-memory file system for the cleaning engine: folders, files, links
// (with or without a target), read-only and locked files, folders that cannot
// be listed. It keeps names, not paths, so a chain of thousands of levels is
// cheap. Below a rule's tree it follows no link, as the real adapter does; a
// test can change the tree before any call (`beforeCall`), for example swap a
// folder for a link between a listing and a delete. Reaching through a link
// the test did not swap in is recorded as a violation: the engine must never
// try to.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "cleaner/engine.h"

namespace corvel::fake {

class FakeFileSystem : public FileSystem {
 public:
  struct Node {
    Kind kind = Kind::Folder;
    std::wstring name;  // as added; a drive is "C:"
    std::uint64_t size = 0;
    std::optional<double> written = 0.0;  // none: the time cannot be read
    bool readOnly = false;
    bool locked = false;    // held open by someone else: neither way of deleting works
    bool unlisted = false;  // a folder that cannot be entered
    std::wstring target;    // a link's target; empty: it leads nowhere
    bool swapped = false;   // a link a test put in during a run
    std::map<std::wstring, Node, std::less<>> children;  // by ASCII-folded name
  };
  enum class Op { Probe, List, RemoveFile, RemoveFolder };

  Node& AddFolder(const std::wstring& path) { return Add(path, Kind::Folder); }
  Node& AddFile(const std::wstring& path, std::uint64_t size = 1, std::optional<double> written = 0.0) {
    Node& n = Add(path, Kind::File);
    n.size = size;
    n.written = written;
    return n;
  }
  Node& AddLink(const std::wstring& path, bool folder, const std::wstring& target = L"") {
    Node& n = Add(path, folder ? Kind::FolderLink : Kind::FileLink);
    n.target = target;
    return n;
  }
  // The folder at `path` is moved to `movedTo` and a link to `target` takes
  // its place, as someone who may write in the tree could do at any moment.
  void SwapForLink(const std::wstring& path, const std::wstring& target, const std::wstring& movedTo) {
    Node* n = Literal(path);
    if (!n) return;
    Node moved = std::move(*n);
    *n = Node{};
    n->kind = moved.kind == Kind::File ? Kind::FileLink : Kind::FolderLink;
    n->name = moved.name;
    n->target = target;
    n->swapped = true;
    Node& place = Add(movedTo, moved.kind);
    const std::wstring name = place.name;
    place = std::move(moved);
    place.name = name;
    cache_ = {};
  }
  bool Exists(const std::wstring& path) { return Literal(path) != nullptr; }
  Node* Get(const std::wstring& path) { return Literal(path); }
  // Every path, in the order of their lower-case forms.
  std::vector<std::wstring> Paths() const {
    std::vector<std::wstring> out;
    for (const auto& [key, root] : roots_) Collect(root, root.name + L"\\", out);
    std::sort(out.begin(), out.end(), [](const std::wstring& a, const std::wstring& b) { return AsciiLower(a) < AsciiLower(b); });
    return out;
  }

  std::wstring FullPath(const std::wstring& path) override { return path; }
  Kind Probe(const std::wstring& path) override {
    Notify(Op::Probe, path);
    const Node* n = Follow(path, false);
    return n ? n->kind : Kind::Missing;
  }
  Listing List(const std::wstring& tree, const std::wstring& folder, std::vector<FileEntry>& entries) override {
    Notify(Op::List, folder);
    ++lists;
    entries.clear();
    const Node* n = InTree(tree, folder);
    if (!n) return Listing::Missing;
    if (n->kind == Kind::FolderLink) return Listing::Listed;  // the rule's own folder, leading nowhere
    if (n->kind != Kind::Folder) return Listing::Missing;
    if (n->unlisted) return Listing::Denied;
    for (const auto& [key, c] : n->children)
      entries.push_back({c.name, c.kind == Kind::Folder || c.kind == Kind::FolderLink,
                         c.kind == Kind::FileLink || c.kind == Kind::FolderLink});
    return Listing::Listed;
  }
  Outcome RemoveFile(const std::wstring& tree, const std::wstring& path, const Allow& allow) override {
    Notify(Op::RemoveFile, path);
    ++deleteCalls;
    Node* parent = path == tree ? nullptr : InTree(tree, ParentFolder(path));
    if (!parent || parent->kind != Kind::Folder) return Outcome::Missing;
    const auto it = parent->children.find(AsciiLower(LastName(path)));
    if (it == parent->children.end()) return Outcome::Missing;
    Node& n = it->second;
    if (n.kind == Kind::Folder || n.kind == Kind::FolderLink) return Outcome::Missing;  // no file
    if (n.kind == Kind::FileLink) return Outcome::Refused;
    if (!allow({n.written, n.size})) return Outcome::Refused;
    if (n.locked) return Outcome::Failed;
    if (n.readOnly) ++fallbacks;  // the second way: the attribute cleared through the handle
    parent->children.erase(it);
    deleted.push_back(path);
    return Outcome::Done;
  }
  Outcome RemoveFolder(const std::wstring& tree, const std::wstring& path) override {
    Notify(Op::RemoveFolder, path);
    ++removeAttempts;
    if (SameKey(path, tree)) return Outcome::Refused;
    Node* parent = InTree(tree, ParentFolder(path));
    if (!parent || parent->kind != Kind::Folder) return Outcome::Missing;
    const auto it = parent->children.find(AsciiLower(LastName(path)));
    if (it == parent->children.end() || it->second.kind != Kind::Folder) return Outcome::Missing;
    if (!it->second.children.empty()) return Outcome::Failed;
    cache_.Forget(&it->second);
    parent->children.erase(it);
    removed.push_back(path);
    return Outcome::Done;
  }

  // The table walk's own access, as the system's path functions behave: a
  // link on the way is followed.
  bool ListPath(const std::wstring& folder, std::vector<FileEntry>& entries) {
    entries.clear();
    const Node* n = Follow(folder, true);
    if (!n || n->kind != Kind::Folder || n->unlisted) return n && n->kind == Kind::FolderLink;
    for (const auto& [key, c] : n->children)
      entries.push_back({c.name, c.kind == Kind::Folder || c.kind == Kind::FolderLink,
                         c.kind == Kind::FileLink || c.kind == Kind::FolderLink});
    return true;
  }
  std::optional<double> WrittenAt(const std::wstring& path) {
    const Node* n = Follow(path, false);
    return n ? n->written : std::nullopt;
  }
  bool DeleteAt(const std::wstring& path) {
    Node* parent = Follow(ParentFolder(path), true);
    if (!parent) return false;
    const auto it = parent->children.find(AsciiLower(LastName(path)));
    if (it == parent->children.end() || it->second.kind != Kind::File || it->second.locked) return false;
    parent->children.erase(it);
    return true;
  }
  bool RemoveFolderAt(const std::wstring& path) {
    Node* parent = Follow(ParentFolder(path), true);
    if (!parent) return false;
    const auto it = parent->children.find(AsciiLower(LastName(path)));
    ++removeAttempts;
    if (it == parent->children.end() || it->second.kind != Kind::Folder || !it->second.children.empty()) return false;
    cache_.Forget(&it->second);
    parent->children.erase(it);
    return true;
  }

  std::function<void(FakeFileSystem&, Op, const std::wstring&)> beforeCall;
  std::vector<std::wstring> violations;
  std::vector<std::wstring> deleted, removed;  // what RemoveFile and RemoveFolder took, in order
  long long removeAttempts = 0, deleteCalls = 0, fallbacks = 0, lists = 0;

 private:
  // The folders on the way to the last folder found in a tree, so that a
  // deep walk does not look up every level again for every call (as the
  // real adapter keeps its handles). Never copied with the file system.
  struct Cache {
    std::wstring tree, key;           // folded; `key` the deepest folder's path
    std::vector<Node*> nodes;         // nodes[0] the tree, then one per name
    std::vector<std::size_t> ends;    // where each of them ends in `key`
    Cache() = default;
    Cache(const Cache&) {}
    Cache& operator=(const Cache&) {
      tree.clear();
      key.clear();
      nodes.clear();
      ends.clear();
      return *this;
    }
    // A folder that is gone takes the ones below it along.
    void Forget(const Node* gone) {
      for (std::size_t i = nodes.size(); i-- > 0;)
        if (nodes[i] == gone) {
          nodes.resize(i);
          ends.resize(i);
          key.resize(i ? ends[i - 1] : 0);
          if (nodes.empty()) tree.clear();
          return;
        }
    }
  };

  static wchar_t Fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }
  static std::vector<std::wstring_view> Names(std::wstring_view path) {
    std::vector<std::wstring_view> names;
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = path.find(L'\\', start);
      if (end == std::wstring_view::npos) end = path.size();
      if (end > start) names.push_back(path.substr(start, end - start));
      start = end + 1;
    }
    return names;
  }
  static std::wstring LastName(const std::wstring& path) {
    const std::size_t s = path.rfind(L'\\');
    return s == std::wstring::npos ? path : path.substr(s + 1);
  }
  static bool SameKey(const std::wstring& a, const std::wstring& b) {
    auto length = [](const std::wstring& k) {
      std::size_t n = k.size();
      while (n > 3 && k[n - 1] == L'\\') --n;
      return n;
    };
    const std::size_t n = length(a);
    if (n != length(b)) return false;
    for (std::size_t i = 0; i < n; ++i)
      if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
  }
  static void Collect(const Node& n, const std::wstring& path, std::vector<std::wstring>& out) {
    out.push_back(path);
    for (const auto& [key, c] : n.children) {
      const std::wstring child = path.back() == L'\\' ? path + c.name : path + L"\\" + c.name;
      Collect(c, child, out);
    }
  }

  void Notify(Op op, const std::wstring& path) {
    if (beforeCall) beforeCall(*this, op, path);
  }
  Node& Add(const std::wstring& path, Kind kind) {
    const auto names = Names(path);
    Node* n = &roots_[AsciiLower(std::wstring(names.at(0)))];
    if (n->name.empty()) n->name = std::wstring(names[0]);
    for (std::size_t i = 1; i < names.size(); ++i) {
      Node& c = n->children[AsciiLower(std::wstring(names[i]))];
      if (c.name.empty()) c.name = std::wstring(names[i]);
      n = &c;
    }
    n->kind = kind;
    return *n;
  }
  // The node at exactly this path: no link is followed.
  Node* Literal(const std::wstring& path) {
    const auto names = Names(path);
    if (names.empty()) return nullptr;
    const auto root = roots_.find(AsciiLower(std::wstring(names[0])));
    if (root == roots_.end()) return nullptr;
    Node* n = &root->second;
    for (std::size_t i = 1; n && i < names.size(); ++i) {
      const auto it = n->children.find(AsciiLower(std::wstring(names[i])));
      n = it == n->children.end() ? nullptr : &it->second;
    }
    return n;
  }
  // As the system's path functions resolve: links on the way are followed
  // (and recorded when the test did not swap them in), the last one only
  // when asked.
  Node* Follow(const std::wstring& path, bool followLast, int hops = 0) {
    if (hops > 16) return nullptr;
    const auto names = Names(path);
    if (names.empty()) return nullptr;
    const auto root = roots_.find(AsciiLower(std::wstring(names[0])));
    if (root == roots_.end()) return nullptr;
    Node* n = &root->second;
    for (std::size_t i = 1; n && i < names.size(); ++i) {
      if (n->kind == Kind::FolderLink || n->kind == Kind::FileLink) {
        if (!n->swapped) violations.push_back(path);
        n = n->target.empty() ? nullptr : Follow(n->target, true, hops + 1);
        if (!n) return nullptr;
      }
      const auto it = n->children.find(AsciiLower(std::wstring(names[i])));
      n = it == n->children.end() ? nullptr : &it->second;
    }
    if (n && followLast && (n->kind == Kind::FolderLink || n->kind == Kind::FileLink) && !n->target.empty())
      return Follow(n->target, true, hops + 1);
    return n;
  }
  // `path` in the tree: the tree as the system resolves it, then the names
  // below it without following any link. A path outside the tree is the
  // engine's mistake.
  Node* InTree(const std::wstring& tree, const std::wstring& path) {
    const std::wstring treeKey = AsciiLower(tree);
    const bool rootTree = !treeKey.empty() && treeKey.back() == L'\\';
    std::size_t same = 0;  // how far the path agrees with the tree, then with the cache
    while (same < treeKey.size() && same < path.size() && Fold(path[same]) == treeKey[same]) ++same;
    if (same < treeKey.size() || !(path.size() == same || rootTree || path[same] == L'\\')) {
      violations.push_back(path + L" outside " + tree);
      return nullptr;
    }
    if (cache_.tree != treeKey || cache_.nodes.empty()) {
      cache_ = {};
      Node* root = Follow(tree, true);
      if (!root) return nullptr;
      cache_.tree = treeKey;
      cache_.key = treeKey;
      cache_.nodes = {root};
      cache_.ends = {treeKey.size()};
    }
    // The deepest cached folder on the way: where both paths agree up to
    // the end of a name.
    while (same < cache_.key.size() && same < path.size() && Fold(path[same]) == cache_.key[same]) ++same;
    std::size_t level = 0;
    for (std::size_t i = cache_.ends.size(); i-- > 1;)
      if (cache_.ends[i] <= same && (cache_.ends[i] == path.size() || path[cache_.ends[i]] == L'\\')) {
        level = i;
        break;
      }
    cache_.nodes.resize(level + 1);
    cache_.ends.resize(level + 1);
    cache_.key.resize(cache_.ends[level]);
    Node* n = cache_.nodes[level];
    for (const auto name : Names(std::wstring_view(path).substr(cache_.ends[level]))) {
      if (n->kind == Kind::FolderLink || n->kind == Kind::FileLink) {
        if (!n->swapped) violations.push_back(path);
        return nullptr;  // below the tree no link is followed
      }
      const std::wstring folded = AsciiLower(name);
      const auto it = n->children.find(folded);
      if (it == n->children.end()) return nullptr;
      n = &it->second;
      if (n->kind != Kind::Folder) continue;
      const std::size_t end = static_cast<std::size_t>(name.data() + name.size() - path.data());
      cache_.key.append(path, cache_.key.size(), end - folded.size() - cache_.key.size()).append(folded);
      cache_.nodes.push_back(n);
      cache_.ends.push_back(end);
    }
    return n;
  }

  std::map<std::wstring, Node, std::less<>> roots_;
  Cache cache_;
};

}  // namespace corvel::fake
