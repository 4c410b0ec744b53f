// The user's rule list file cleaner.lst: where it lives and how its bytes
// become rule lines. Portable.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"

namespace corvel {

// `commonAppData` without a trailing backslash + "\lgxdata\cleaner.lst".
std::wstring RuleListPath(std::wstring_view commonAppData);

// The file's lines in order: ANSI in the given code page unless a byte-order
// mark says UTF-8 or UTF-16; lines end at CR LF, LF or CR; a line end at the
// very end starts no further line. Lines are kept as they are (the engine
// trims them).
std::vector<std::wstring> DecodeRuleList(std::string_view bytes, const CodePage& codePage);

// The bytes the options window writes: every line followed by CR LF, in the
// code page; when a line holds a character the code page cannot represent,
// the whole file is UTF-8 with a byte-order mark instead, so a folder name is
// never saved as question marks. The same when the ANSI bytes would begin
// like a byte-order mark ("ÿþ", "þÿ", "ï»¿"): read back, they would be taken
// for one and the whole list would turn into something else.
std::string EncodeRuleList(const std::vector<std::wstring>& lines, const CodePage& codePage);

}  // namespace corvel
