#include "cleaner/engine.h"

#include <algorithm>

#include "base/text.h"

namespace corvel {
namespace {

bool NameLess(const FileEntry& a, const FileEntry& b) {
  const std::wstring la = AsciiLower(a.name), lb = AsciiLower(b.name);
  return la != lb ? la < lb : a.name < b.name;
}

std::size_t Depth(const std::wstring& path) { return std::count(path.begin(), path.end(), L'\\'); }

// The plain subfolders of a listing, in name order. Junctions, symbolic
// links and mount points are neither entered nor recorded, so nothing behind
// them is deleted and they are never removed.
std::vector<std::wstring> Subfolders(std::vector<FileEntry>& entries) {
  std::erase_if(entries, [](const FileEntry& e) { return !e.folder || e.link; });
  std::sort(entries.begin(), entries.end(), NameLess);
  std::vector<std::wstring> names;
  for (FileEntry& e : entries) names.push_back(std::move(e.name));
  return names;
}

}  // namespace

CleanerEngine::CleanerEngine(FileSystem& fs, CleanerView view) : fs_(fs), view_(std::move(view)) {}

void CleanerEngine::StartRun() {
  counters_ = {};
  log_.clear();
}

void CleanerEngine::RunRuleList(const std::vector<std::wstring>& lines, double now) {
  const int maximum = lines.size() < 2 ? 1 : static_cast<int>(lines.size());
  if (view_.progress) view_.progress(0, maximum);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (view_.progress) view_.progress(static_cast<int>(i), maximum);
    ApplyRule(Trim(lines[i]), now);
  }
  if (view_.progress) view_.progress(maximum, maximum);
}

void CleanerEngine::ApplyRule(const std::wstring& line, double now) {
  rule_ = CleanRule{};
  rule_ = ReadCleanRule(line, now);  // a bad day count ends the run here
  struct CloseAtEnd {
    FileSystem& fs;
    ~CloseAtEnd() { fs.Close(); }
  } close{fs_};
  if (!rule_.isMask) {
    // The file's folder is its tree: only the named file can go.
    if (rule_.file.empty()) return;
    const std::wstring file = fs_.FullPath(rule_.file);
    if (const std::wstring folder = ParentFolder(file); !folder.empty() && folder != file) DeleteOneFile(folder, file);
    return;
  }
  if (rule_.folder.empty()) return;
  // The rule's own folder is taken as the rule names it, even when it is a
  // link; only what the walk finds below it is never followed.
  const std::wstring tree = fs_.FullPath(rule_.folder);
  const FileSystem::Kind kind = fs_.Probe(tree);
  if (kind != FileSystem::Kind::Folder && kind != FileSystem::Kind::FolderLink) return;
  try {
    if (DeleteMatchingFiles(tree, tree) && rule_.subfolders) CleanSubfolders(tree);
  } catch (const FolderDenied&) {
    log_.push_back(kLogFolderDenied + rule_.folder);
  }
}

void CleanerEngine::DeleteOneFile(const std::wstring& tree, const std::wstring& path) {
  std::uint64_t size = 0;
  // The day count decides, not the sign of the cut-off: "/d" with a count
  // larger than the days since 1899 must keep everything, not lose the test.
  // A file whose time is unknown stays: it is not known to be old.
  const auto allow = [&](const FileSystem::FileFacts& facts) {
    if (rule_.hasAge && (!facts.written || *facts.written > rule_.cutoff)) return false;
    size = facts.size;
    return true;
  };
  switch (fs_.RemoveFile(tree, path, allow)) {
    case FileSystem::Outcome::Done:
      counters_.bytes += size;
      ++counters_.files;
      log_.push_back(kLogDeleted + path);
      if (view_.filesChanged) view_.filesChanged(counters_.files);
      break;
    case FileSystem::Outcome::Failed:
      log_.push_back(kLogFileDenied + path);
      break;
    case FileSystem::Outcome::Missing:
    case FileSystem::Outcome::Refused:
      break;  // links are not files of their own: deleting one is never what a rule asks
  }
}

bool CleanerEngine::DeleteMatchingFiles(const std::wstring& tree, const std::wstring& folder) {
  std::vector<FileEntry> entries;
  switch (fs_.List(tree, folder, entries)) {
    case FileSystem::Listing::Missing: return false;
    case FileSystem::Listing::Denied: throw FolderDenied{};
    case FileSystem::Listing::Listed: break;
  }
  std::erase_if(entries, [&](const FileEntry& e) { return e.folder || e.link || !MatchesMask(rule_.mask, e.name); });
  std::sort(entries.begin(), entries.end(), NameLess);
  for (const FileEntry& e : entries) DeleteOneFile(tree, JoinPath(folder, e.name));
  return true;
}

// Depth first with an explicit stack, in the order of the recursive design:
// at each folder the matching files of all its direct subfolders, then each
// subfolder's own walk in listing order. The stack holds the folders still
// to be walked, the next one on top; a chain of any depth costs no call
// stack.
void CleanerEngine::CleanSubfolders(const std::wstring& tree) {
  struct Pending {
    std::wstring path;
    std::size_t folder;
  };
  std::vector<Pending> stack{{tree, Root(tree)}};
  while (!stack.empty()) {
    const Pending current = std::move(stack.back());
    stack.pop_back();
    std::vector<FileEntry> entries;
    const FileSystem::Listing listing = fs_.List(tree, current.path, entries);
    if (listing == FileSystem::Listing::Missing) continue;  // gone (or now a link) since it was met
    if (listing == FileSystem::Listing::Denied) throw FolderDenied{};
    std::vector<Pending> walked;
    for (const std::wstring& name : Subfolders(entries)) {
      std::wstring path = JoinPath(current.path, name);
      if (!DeleteMatchingFiles(tree, path)) continue;  // gone since the listing: not recorded
      walked.push_back({std::move(path), Record(current.folder, name)});
    }
    for (auto it = walked.rbegin(); it != walked.rend(); ++it) stack.push_back(std::move(*it));
  }
  RemoveEmptyRecorded();
}

std::size_t CleanerEngine::Root(const std::wstring& tree) {
  const auto [it, added] = roots_.try_emplace(AsciiLower(tree), folders_.size());
  if (added) folders_.push_back({kNone, folders_.size(), tree, Depth(tree), 0, false, {}});
  return it->second;
}

std::size_t CleanerEngine::Record(std::size_t parent, const std::wstring& name) {
  const auto [it, added] = folders_[parent].children.try_emplace(AsciiLower(name), folders_.size());
  if (added) {
    const std::size_t depth = folders_[parent].parent == kNone ? Depth(JoinPath(folders_[parent].name, name))
                                                                : folders_[parent].depth + 1;
    folders_.push_back({parent, folders_[parent].root, name, depth, 0, false, {}});
  }
  Folder& f = folders_[it->second];
  if (!f.recorded) {
    f.recorded = true;
    f.order = ++recordings_;
  }
  return it->second;
}

std::wstring CleanerEngine::PathOf(std::size_t folder) const {
  std::vector<std::size_t> chain;
  std::size_t length = 0;
  for (std::size_t f = folder; f != kNone; f = folders_[f].parent) {
    chain.push_back(f);
    length += folders_[f].name.size() + 1;
  }
  std::wstring path;
  path.reserve(length);
  path = folders_[chain.back()].name;
  for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it) {
    if (path.empty() || (path.back() != L'\\' && path.back() != L':')) path += L'\\';  // as JoinPath
    path += folders_[*it].name;
  }
  return path;
}

std::size_t CleanerEngine::recordedFolders() const {
  return static_cast<std::size_t>(std::count_if(folders_.begin(), folders_.end(), [](const Folder& f) { return f.recorded; }));
}

// Children before parents: deeper paths first, later recordings first among
// equals. One attempt per recorded folder; removed or vanished folders (and
// folders since replaced by a link) leave the record.
void CleanerEngine::RemoveEmptyRecorded() {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < folders_.size(); ++i)
    if (folders_[i].recorded) order.push_back(i);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const Folder &fa = folders_[a], &fb = folders_[b];
    return fa.depth != fb.depth ? fa.depth > fb.depth : fa.order > fb.order;
  });
  std::size_t last = kNone;
  std::wstring path;
  for (std::size_t i : order) {
    // Up a chain the next path is the last one without its last name.
    if (last != kNone && folders_[last].parent == i && folders_[i].parent != kNone)
      path.resize(path.size() - folders_[last].name.size() - 1);
    else
      path = PathOf(i);
    last = i;
    if (fs_.RemoveFolder(folders_[folders_[i].root].name, path) != FileSystem::Outcome::Failed)
      folders_[i].recorded = false;
  }
  // Drop what holds no recorded folder any more. A parent always comes
  // before its children, so one pass back marks and one pass on rebuilds.
  std::vector<bool> keep(folders_.size(), false);
  for (std::size_t i = folders_.size(); i-- > 0;) {
    if (folders_[i].recorded) keep[i] = true;
    if (keep[i] && folders_[i].parent != kNone) keep[folders_[i].parent] = true;
  }
  std::vector<std::size_t> index(folders_.size(), kNone);
  std::vector<Folder> kept;
  for (std::size_t i = 0; i < folders_.size(); ++i) {
    if (!keep[i]) continue;
    index[i] = kept.size();
    kept.push_back(std::move(folders_[i]));
    Folder& f = kept.back();
    f.children.clear();
    f.root = index[f.root];
    if (f.parent != kNone) {
      f.parent = index[f.parent];
      kept[f.parent].children.emplace(AsciiLower(f.name), index[i]);
    }
  }
  folders_ = std::move(kept);
  roots_.clear();
  for (std::size_t i = 0; i < folders_.size(); ++i)
    if (folders_[i].parent == kNone) roots_.emplace(AsciiLower(folders_[i].name), i);
}

std::wstring FormatFreedBytes(std::uint64_t bytes, wchar_t decimalSeparator) {
  const std::uint64_t unit = bytes > 1048576 ? 1048576 : 1024;
  const std::uint64_t tenths = bytes / unit * 10 + ((bytes % unit) * 10 + unit / 2) / unit;
  std::wstring text = std::to_wstring(tenths / 10);
  text += decimalSeparator;
  text += static_cast<wchar_t>(L'0' + tenths % 10);
  return text + (unit == 1048576 ? L" MB" : L" Kb");
}

std::wstring FormatBinSize(std::uint64_t bytes) {
  const std::uint64_t unit = bytes > 1048576 ? 1048576 : 1024;
  std::uint64_t q = bytes / unit;
  const std::uint64_t r = bytes % unit;
  if (2 * r > unit || (2 * r == unit && (q & 1))) ++q;
  return std::to_wstring(q) + (unit == 1048576 ? L" MB" : L" Kb");
}

}  // namespace corvel

namespace corvel {

CleaningResult RunCleaningPass(CleanerEngine& engine, CleanerPlatform& platform,
                               const std::function<std::vector<std::wstring>()>& buildBuiltIns,
                               const std::vector<std::wstring>& listLines, double now) {
  engine.StartRun();
  CleaningResult result;
  result.bin = platform.QueryRecycleBin();
  std::vector<std::wstring> rules = buildBuiltIns ? buildBuiltIns() : std::vector<std::wstring>{};
  rules.insert(rules.end(), listLines.begin(), listLines.end());
  if (!rules.empty()) engine.RunRuleList(rules, now);
  platform.ClearInternetCache();
  platform.ClearUrlHistory();
  platform.EmptyRecycleBin();
  result.totals = engine.counters();
  result.totals.files += static_cast<std::int32_t>(result.bin.items);
  result.totals.bytes += result.bin.size;
  return result;
}

}  // namespace corvel
