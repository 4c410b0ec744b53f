// Rules of the Process page that need no window: the suspect names, the
// device-path translation, the image-path prefix, name matching for ending
// processes, the filter's verdict, the details text and the web search.
// Portable.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace corvel {

// "keylog" or "keelog" anywhere in the name, letter case as written.
bool IsSuspectName(std::wstring_view name);
// One blank and the name for every suspect name, in list order; empty when
// there is none (then no warning is shown).
std::wstring SuspectText(const std::vector<std::wstring>& names);

// One entry of a process snapshot.
struct ProcessEntry {
  std::wstring exeFile;
  long id;
};
// The last entry after the first (the system's idle process, never a match)
// whose executable name contains `name`, letter case as written; -1 when none.
long FindProcessIdByName(std::wstring_view name, const std::vector<ProcessEntry>& snapshot);

// A drive letter and the device name behind it ("\Device\HarddiskVolume1").
struct DosDrive {
  wchar_t letter;
  std::wstring device;
};
// The device path with the first drive whose device name, lower-cased, is a
// prefix of the lower-cased path: "C:" + the rest. A plain prefix test, so
// volume 1 matches a path of volume 10 when it comes first. Empty when no
// drive matches.
std::wstring DevicePathToDrivePath(std::wstring_view devicePath, const std::vector<DosDrive>& drives);

// A module path that begins with "\??\" loses exactly those four characters.
std::wstring WithoutNtPrefix(std::wstring_view path);

// Whether a snapshot entry is a process of that executable: the upper-cased
// file-name part, or the whole upper-cased entry, equals the upper-cased name.
bool IsProcessOf(std::wstring_view exeFile, std::wstring_view name);

// The filter keeps an entry unless its product name holds "Microsoft", its
// lower-cased subject (path or name) holds "system32", or it is "System".
bool KeptByFilter(std::wstring_view productName, std::wstring_view subject, std::wstring_view entry);

// The version fields of a program file, as read from its first language block.
struct VersionFields {
  std::wstring productName, internalName, productVersion, companyName, fileDescription, legalCopyright,
      legalTrademarks, originalFilename;
};
// " ", the eight labelled lines (their trailing blanks align the values in
// the proportional font), " ".
std::vector<std::wstring> VersionBlockLines(const VersionFields& fields);
// The version keys in the order of the lines.
extern const wchar_t* const kVersionKeys[8];

// The web search for a name on the international site ("hl=en&q=") or the
// German one ("q="); the name is percent-encoded as UTF-8, so "&", "#", "+"
// and blanks stay part of the query while plain names come out unchanged.
std::wstring WebSearchUrl(std::wstring_view term, bool international);

}  // namespace corvel
