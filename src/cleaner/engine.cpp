#include "cleaner/engine.h"

#include <algorithm>
#include <numeric>

#include "base/text.h"

namespace corvel {
namespace {

std::wstring FoldKey(const std::wstring& path) { return AsciiLower(path); }

bool NameLess(const FileEntry& a, const FileEntry& b) {
  const std::wstring la = AsciiLower(a.name), lb = AsciiLower(b.name);
  return la != lb ? la < lb : a.name < b.name;
}

std::size_t Depth(const std::wstring& path) { return std::count(path.begin(), path.end(), L'\\'); }

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
  if (!rule_.isMask) {
    DeleteOneFile(rule_.file);
    return;
  }
  // The rule's own folder is taken as the rule names it, even when it is a
  // link; only what the walk finds below it is never followed.
  const FileSystem::Kind kind = fs_.Probe(rule_.folder);
  if (kind != FileSystem::Kind::Folder && kind != FileSystem::Kind::FolderLink) return;
  try {
    DeleteMatchingFiles(rule_.folder);
    if (rule_.subfolders) CleanSubfolders(rule_.folder);
  } catch (const FolderDenied&) {
    log_.push_back(kLogFolderDenied + rule_.folder);
  }
}

void CleanerEngine::DeleteOneFile(const std::wstring& path) {
  // Links are not files of their own: deleting one is never what a rule asks.
  if (fs_.Probe(path) != FileSystem::Kind::File) return;
  // The day count decides, not the sign of the cut-off: "/d" with a count
  // larger than the days since 1899 must keep everything, not lose the test.
  if (rule_.hasAge && fs_.LastWritten(path) > rule_.cutoff) return;
  const std::uint64_t size = fs_.SizeOf(path);
  if (fs_.RemoveFile(path) || fs_.ShellDelete(path)) {
    counters_.bytes += size;
    ++counters_.files;
    log_.push_back(kLogDeleted + path);
    if (view_.filesChanged) view_.filesChanged(counters_.files);
  } else {
    log_.push_back(kLogFileDenied + path);
  }
}

void CleanerEngine::DeleteMatchingFiles(const std::wstring& folder) {
  std::vector<FileEntry> entries;
  if (!fs_.List(folder, entries)) throw FolderDenied{};
  std::erase_if(entries, [&](const FileEntry& e) { return e.folder || e.link || !MatchesMask(rule_.mask, e.name); });
  std::sort(entries.begin(), entries.end(), NameLess);
  for (const FileEntry& e : entries) DeleteOneFile(JoinPath(folder, e.name));
}

void CleanerEngine::CleanSubfolders(const std::wstring& folder) {
  Walk(folder);
  RemoveEmptyRecorded();
}

void CleanerEngine::Walk(const std::wstring& folder) {
  std::vector<FileEntry> entries;
  if (!fs_.List(folder, entries)) throw FolderDenied{};
  // Junctions, symbolic links and mount points are neither entered nor
  // recorded, so nothing behind them is deleted and they are never removed.
  std::erase_if(entries, [](const FileEntry& e) { return !e.folder || e.link; });
  std::sort(entries.begin(), entries.end(), NameLess);
  std::vector<std::wstring> subfolders;
  for (const FileEntry& e : entries) {
    const std::wstring sub = JoinPath(folder, e.name);
    if (fs_.Probe(sub) != FileSystem::Kind::Folder) continue;
    Record(sub);
    subfolders.push_back(sub);
    DeleteMatchingFiles(sub);
  }
  for (const std::wstring& sub : subfolders)
    if (fs_.Probe(sub) == FileSystem::Kind::Folder) Walk(sub);
}

void CleanerEngine::Record(const std::wstring& folder) {
  if (recordedKeys_.insert(FoldKey(folder)).second) recorded_.push_back(folder);
}

// Children before parents: deeper paths first, later recordings first among
// equals. One attempt per recorded folder; removed or vanished folders leave
// the record.
void CleanerEngine::RemoveEmptyRecorded() {
  std::vector<std::size_t> order(recorded_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const std::size_t da = Depth(recorded_[a]), db = Depth(recorded_[b]);
    return da != db ? da > db : a > b;
  });
  std::vector<bool> gone(recorded_.size(), false);
  for (std::size_t i : order) {
    const std::wstring& path = recorded_[i];
    // A recorded folder since replaced by a link is left alone.
    if (fs_.Probe(path) != FileSystem::Kind::Folder || fs_.RemoveFolder(path)) gone[i] = true;
  }
  std::vector<std::wstring> kept;
  for (std::size_t i = 0; i < recorded_.size(); ++i) {
    if (gone[i]) recordedKeys_.erase(FoldKey(recorded_[i]));
    else kept.push_back(std::move(recorded_[i]));
  }
  recorded_ = std::move(kept);
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
