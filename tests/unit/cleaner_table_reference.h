// The subfolder walk as first designed, kept only as the reference the
// engine is checked and measured against: recursion, a table of 1001 x 1001
// recorded folders whose every cell is tried after every walked folder,
// subfolder listings capped at 1001 entries, paths resolved as the system's
// path functions resolve them. It keeps what the engine mends elsewhere: a
// file whose time is unknown is not old.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "cleaner/engine.h"
#include "unit/cleaner_fake_fs.h"

namespace corvel::fake {

class TableReference {
 public:
  TableReference(FakeFileSystem& fs, double now) : fs_(fs), now_(now), table_(1001) {}
  void Run(const std::vector<std::wstring>& rules) {
    for (const auto& line : rules) {
      rule_ = ReadCleanRule(Trim(line), now_);
      if (!rule_.isMask) { DeleteOne(rule_.file); continue; }
      if (fs_.Probe(rule_.folder) != FileSystem::Kind::Folder) continue;
      DeleteMatching(rule_.folder);
      if (rule_.subfolders) CleanSubfolders(rule_.folder);
    }
  }
  std::vector<std::wstring> log;

 private:
  void DeleteOne(const std::wstring& path) {
    if (fs_.Probe(path) != FileSystem::Kind::File) return;
    const std::optional<double> written = fs_.WrittenAt(path);
    if (rule_.hasAge && (!written || *written > rule_.cutoff)) return;
    if (fs_.DeleteAt(path)) log.push_back(L"Deleted: " + path);
    else log.push_back(L"Access denied: " + path);
  }
  static bool Less(const FileEntry& a, const FileEntry& b) {
    return AsciiLower(a.name) != AsciiLower(b.name) ? AsciiLower(a.name) < AsciiLower(b.name) : a.name < b.name;
  }
  void DeleteMatching(const std::wstring& folder) {
    std::vector<FileEntry> entries;
    fs_.ListPath(folder, entries);
    std::sort(entries.begin(), entries.end(), Less);
    for (const auto& e : entries)
      if (!e.folder && MatchesMask(rule_.mask, e.name)) DeleteOne(JoinPath(folder, e.name));
  }
  void CleanSubfolders(const std::wstring& f) {
    std::vector<FileEntry> entries;
    fs_.ListPath(f, entries);
    std::sort(entries.begin(), entries.end(), Less);
    std::size_t examined = 2;  // "." and ".."
    for (const auto& e : entries) {
      if (++examined > 1001) break;
      if (!e.folder) continue;
      const std::wstring s = JoinPath(f, e.name);
      if (fs_.Probe(s) != FileSystem::Kind::Folder) continue;
      Cell(level_, ++column_) = s;
      DeleteMatching(s);
    }
    const int l = level_, n = column_;
    if (level_ < 1000) ++level_;
    column_ = -1;
    for (int c = 0; c <= n; ++c)
      if (fs_.Probe(Cell(l, c)) == FileSystem::Kind::Folder) CleanSubfolders(Cell(l, c));
    for (int r = level_; r >= 0; --r)
      if (!table_[r].empty())
        for (int c = 0; c <= 1000; ++c)
          if (!Cell(r, c).empty()) fs_.RemoveFolderAt(Cell(r, c));
  }
  // Rows are allocated on first use; an untouched row reads as empty cells.
  std::wstring& Cell(int r, int c) {
    if (table_[r].empty()) table_[r].resize(1001);
    return table_[r][c];
  }

  FakeFileSystem& fs_;
  double now_;
  CleanRule rule_;
  std::vector<std::vector<std::wstring>> table_;
  int level_ = 0, column_ = -1;
};

}  // namespace corvel::fake
