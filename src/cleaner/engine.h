// The cleaning engine: applies rule lines to a file system, counts what it
// removes and logs every file. Portable logic over a small file-system port;
// filesystem_win.cpp is the Win32 side.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "cleaner/rule.h"

namespace corvel {

struct FileEntry {
  std::wstring name;
  bool folder = false;
  bool link = false;  // a reparse point: junction, symbolic link, mount point
};

class FileSystem {
 public:
  enum class Kind { Missing, File, Folder, FileLink, FolderLink };
  virtual ~FileSystem() = default;
  // What `path` names, without following a link at its last component.
  virtual Kind Probe(const std::wstring& path) = 0;
  // The entries of `folder` ("." and ".." left out); false when the folder
  // cannot be listed.
  virtual bool List(const std::wstring& folder, std::vector<FileEntry>& entries) = 0;
  // Last-write time as a local date-time serial.
  virtual double LastWritten(const std::wstring& path) = 0;
  virtual std::uint64_t SizeOf(const std::wstring& path) = 0;
  virtual bool RemoveFile(const std::wstring& path) = 0;
  // The second way: the shell's delete, which also removes read-only files.
  virtual bool ShellDelete(const std::wstring& path) = 0;
  // Removes an empty folder; fails for anything else.
  virtual bool RemoveFolder(const std::wstring& path) = 0;
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
  // Deletes one file when it exists, is no link and passes the rule's age test.
  void DeleteOneFile(const std::wstring& path);
  // The matching files of every subfolder of `folder`, direct subfolders
  // before their own subfolders, then every recorded folder that is empty
  // now is removed. Throws FolderDenied when a folder cannot be listed.
  void CleanSubfolders(const std::wstring& folder);

  const CleanerCounters& counters() const { return counters_; }
  const std::vector<std::wstring>& log() const { return log_; }
  // Subfolders recorded by walks in this engine's life and not removed yet.
  std::size_t recordedFolders() const { return recorded_.size(); }

  struct FolderDenied {};

 private:
  void DeleteMatchingFiles(const std::wstring& folder);
  void Walk(const std::wstring& folder);
  void Record(const std::wstring& folder);
  void RemoveEmptyRecorded();

  FileSystem& fs_;
  CleanerView view_;
  CleanRule rule_;
  CleanerCounters counters_;
  std::vector<std::wstring> log_;
  // Folders met by the subfolder walks. They stay recorded until removed, so
  // a folder that becomes empty later is removed by a later walk.
  std::vector<std::wstring> recorded_;
  std::unordered_set<std::wstring> recordedKeys_;
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
