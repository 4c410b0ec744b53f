// One line of the cleaning rule list, as the engine reads it, and the
// wildcard matching of file names. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace corvel {

struct CleanRule {
  bool isMask = false;        // the raw line held a "*": folder and mask
  bool subfolders = false;    // "/u"
  bool hasAge = false;        // "/d<days>"
  std::uint16_t ageDays = 0;  // the day count modulo 65536
  double cutoff = 0;          // local serial; 0 means no age test
  std::wstring file;          // single-file rule: the file's path
  std::wstring folder;        // mask rule: folder (a drive root keeps its backslash)
  std::wstring mask;          // mask rule: patterns separated by ";"
};

// Reads a rule line. `now` is the local date-time serial of the run; the
// cut-off is local midnight of that day minus the age. Throws ConvertError
// when "/d" is not followed by a whole number.
CleanRule ReadCleanRule(std::wstring_view line, double now);

// One pattern with "*" and "?" against one file name, without regard to case,
// the way the Windows file search matches long names: "*.*" matches every
// name and "*." names without an extension. Short 8.3 aliases are not
// considered: a rule names what the user sees, and matching aliases would
// widen what a mask deletes.
bool MatchesPattern(std::wstring_view pattern, std::wstring_view name);
// True when any ";"-separated pattern of `mask` matches. Empty patterns
// match nothing.
bool MatchesMask(std::wstring_view mask, std::wstring_view name);

// Folder + "\" + name, without doubling the backslash after a drive root
// and without turning a drive-relative "C:" into the root "C:\".
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);
// The folder of a path: the text before its last backslash; a drive root
// and the root "\" keep theirs ("C:\a" gives "C:\"). Empty without one.
std::wstring ParentFolder(std::wstring_view path);

}  // namespace corvel
