// Calculation files (.clc): the display text in the ANSI code page and CR LF.
#pragma once
#include <string>
#include <string_view>

#include "base/codepage.h"

namespace corvel {

// Larger files are refused: a calculation never comes near this, and a
// display control holding megabytes would stall the window.
constexpr std::size_t kMaxCalcFileBytes = 256 * 1024;

// What the save writes: the text and CR LF, in ANSI; in UTF-8 with its
// byte-order mark when the ANSI bytes would begin like a mark ("ÿþ", "þÿ",
// "ï»¿"), which the load would honour.
std::string EncodeCalcFile(std::wstring_view text, const CodePage& codePage);
// Any text file: a UTF-8 or UTF-16 (either byte order) mark is honoured,
// other bytes are ANSI. An odd trailing byte of UTF-16 is dropped. Zero
// characters become blanks, so the display shows everything after them too.
std::wstring DecodeCalcFile(std::string_view bytes, const CodePage& codePage);

}  // namespace corvel
