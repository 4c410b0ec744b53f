// The CodePage port: the system's ANSI code page, through which the file
// formats that store ANSI text (settings, rule lists, calculations, icon
// positions) turn text into bytes and back. Portable.
#pragma once
#include <string>
#include <string_view>

namespace corvel {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // Characters the code page cannot represent become its replacement ('?').
  virtual std::string ToAnsi(std::wstring_view text) const = 0;
  virtual std::wstring FromAnsi(std::string_view bytes) const = 0;
};

// Windows-1252 as the system converts it: every byte has a character and back,
// the five unassigned bytes mapping to the control characters of the same code.
// Portable stand-in for the system code page in tests.
class Latin1CodePage : public CodePage {
 public:
  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view bytes) const override;
};

// A text file's bytes as text: UTF-8 or UTF-16 (either order) after their
// byte-order mark, otherwise the code page's ANSI.
std::wstring DecodeTextFile(std::string_view bytes, const CodePage& codePage);
// Whether ANSI bytes would be taken for a byte-order mark by DecodeTextFile:
// such a file must be written in UTF-8 with its mark instead.
bool StartsLikeByteOrderMark(std::string_view bytes);

}  // namespace corvel
