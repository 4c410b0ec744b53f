// The cleaning engine: applies rule lines to a file system, counts what it
// removes and logs every file. Portable logic over a small file-system port;
// filesystem_win.cpp is the Win32 side.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cleaner/rule.h"

namespace corvel {

struct FileEntry {
  std::wstring name;
  bool folder = false;
  bool link = false;  // a reparse point: junction, symbolic link, mount point
};

// The engine's file system. Everything a rule touches lies in its tree: the
// rule's folder as the rule names it (a link there is followed, the user
// named it), and what is below it, reached from it through plain folders
// only. Below the tree no link is ever followed, so a folder swapped for a
// junction between a listing and a delete leads nowhere outside it. Paths
// below a tree are the tree's path plus names exactly as listed, never
// normalised again (a name may end in a blank or a dot).
class FileSystem {
 public:
  enum class Kind { Missing, File, Folder, FileLink, FolderLink };
  enum class Listing { Listed, Missing, Denied };
  // Done: deleted or removed. Missing: not there, or not a plain file
  // (folder) any more. Refused: a link, or `allow` said no. Failed: there,
  // but neither way of deleting it worked.
  enum class Outcome { Done, Missing, Refused, Failed };
  // What the handle that deletes a file says of it; no time when it has none
  // or it cannot be converted.
  struct FileFacts {
    std::optional<double> written;  // local date-time serial
    std::uint64_t size = 0;
  };
  using Allow = std::function<bool(const FileFacts&)>;

  virtual ~FileSystem() = default;
  // A path of a rule made absolute as the system reads a typed path.
  virtual std::wstring FullPath(const std::wstring& path) = 0;
  // What `path` names, without following a link at its last component.
  virtual Kind Probe(const std::wstring& path) = 0;
  // The entries of `folder` ("." and ".." left out). Missing when it is not
  // there or not a plain folder (below the tree a link is no folder);
  // Denied when it cannot be entered.
  virtual Listing List(const std::wstring& tree, const std::wstring& folder, std::vector<FileEntry>& entries) = 0;
  // Deletes `path` when it is a plain file and `allow` agrees, through the
  // one handle that was checked; clears a read-only attribute as the second
  // way. Links are never deleted.
  virtual Outcome RemoveFile(const std::wstring& tree, const std::wstring& path, const Allow& allow) = 0;
  // Removes `path`, strictly below the tree, when it is an empty plain folder.
  virtual Outcome RemoveFolder(const std::wstring& tree, const std::wstring& path) = 0;
  // A rule is done: what was kept open for its tree is let go, so that
  // nothing of ours holds a folder someone else wants to remove.
  virtual void Close() {}
};

struct CleanerCounters {
  std::int32_t files = 0;
  std::uint64_t bytes = 0;  // 64-bit: a float total drifts once it is large
};

// What the engine tells the window while it runs.
struct CleanerView {
  std::function<void(int position, int maximum)> progress;
  std::function<void(std::int32_t files)> filesChanged;
};

inline constexpr wchar_t kLogDeleted[] = L"Deleted: ";
inline constexpr wchar_t kLogFileDenied[] = L"Access denied: ";
inline constexpr wchar_t kLogFolderDenied[] =
    L"Access denied! Run Scourix as admin to get access to folder: ";

class CleanerEngine {
 public:
  explicit CleanerEngine(FileSystem& fs, CleanerView view = {});

  // Empties the log and sets both counters to 0.
  void StartRun();
  // Applies every line in order. A line whose day count cannot be read
  // throws ConvertError, which ends the run at that line.
  void RunRuleList(const std::vector<std::wstring>& lines, double now);
  void ApplyRule(const std::wstring& line, double now);

  const CleanerCounters& counters() const { return counters_; }
  const std::vector<std::wstring>& log() const { return log_; }
  // Subfolders recorded by walks in this engine's life and not removed yet.
  std::size_t recordedFolders() const;

 private:
  struct FolderDenied {};
  // A folder met by a subfolder walk, kept by name under its parent; the
  // roots are the rules' folders, which are never recorded themselves. A
  // folder stays recorded until it is removed, so a folder that becomes
  // empty later is removed by a later walk. Names, not paths: a chain of
  // thousands of levels costs memory in proportion to its folders.
  struct Folder {
    std::size_t parent = kNone;
    std::size_t root = kNone;  // the rule's folder it lies in (a root: itself)
    std::wstring name;         // a root holds its full path
    std::size_t depth = 0;     // backslashes in the full path
    std::uint64_t order = 0;   // when it was first recorded
    bool recorded = false;
    std::map<std::wstring, std::size_t> children;  // by ASCII-folded name
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Deletes one file when it is a plain file and passes the rule's age test.
  void DeleteOneFile(const std::wstring& tree, const std::wstring& path);
  // False when the folder is not there; throws FolderDenied when it cannot
  // be listed.
  bool DeleteMatchingFiles(const std::wstring& tree, const std::wstring& folder);
  // The matching files of every subfolder of the tree, direct subfolders
  // before their own subfolders, then every recorded folder that is empty
  // now is removed. Throws FolderDenied when a folder cannot be listed.
  void CleanSubfolders(const std::wstring& tree);
  std::size_t Root(const std::wstring& tree);
  std::size_t Record(std::size_t parent, const std::wstring& name);
  std::wstring PathOf(std::size_t folder) const;
  void RemoveEmptyRecorded();

  FileSystem& fs_;
  CleanerView view_;
  CleanRule rule_;
  CleanerCounters counters_;
  std::vector<std::wstring> log_;
  std::vector<Folder> folders_;
  std::map<std::wstring, std::size_t> roots_;  // by ASCII-folded path
  std::uint64_t recordings_ = 0;
};

// The byte total for the window: above 1 MiB in MB with one decimal, else in
// Kb ("0.0", halves away from zero), with the given decimal separator.
std::wstring FormatFreedBytes(std::uint64_t bytes, wchar_t decimalSeparator);
// The recycle bin's size: whole MB above 1 MiB, else whole Kb, halves to even.
std::wstring FormatBinSize(std::uint64_t bytes);

}  // namespace corvel

namespace corvel {

struct RecycleBinInfo {
  std::uint64_t size = 0;
  std::uint64_t items = 0;
};

// The steps of a cleaning pass around the rule list.
class CleanerPlatform {
 public:
  virtual ~CleanerPlatform() = default;
  virtual RecycleBinInfo QueryRecycleBin() = 0;
  virtual void ClearInternetCache() = 0;
  virtual void ClearUrlHistory() = 0;
  // Throws Error when the system has no way to empty it.
  virtual void EmptyRecycleBin() = 0;
};

struct CleaningResult {
  CleanerCounters totals;  // the run's files and bytes plus the recycle bin's
  RecycleBinInfo bin;      // as queried before the bin was emptied
};

// One cleaning pass as the cleaner window runs it: counters and log reset,
// recycle bin queried, built-in rules built (`buildBuiltIns`), the list
// file's lines appended, the rule list run, Internet cache, history and
// recycle bin cleared, the bin's figures added. A rule with an unreadable day
// count throws ConvertError and nothing after it happens.
CleaningResult RunCleaningPass(CleanerEngine& engine, CleanerPlatform& platform,
                               const std::function<std::vector<std::wstring>()>& buildBuiltIns,
                               const std::vector<std::wstring>& listLines, double now);

}  // namespace corvel
