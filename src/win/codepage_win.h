// The system's ANSI code page, for the file formats that store ANSI text.
#pragma once
#include "base/codepage.h"

namespace corvel {

class WindowsCodePage : public CodePage {
 public:
  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view bytes) const override;
};

}  // namespace corvel
