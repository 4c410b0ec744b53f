// The Shell port: every start of a program, document, folder or address goes
// through ShellExecuteW here, so tests record what would have been started.
#pragma once
#include <cstdint>
#include <string>

namespace corvel {

namespace sw {  // ShowWindow modes, with the system's values
constexpr int kHide = 0, kShowNormal = 1, kShow = 5;
}

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW(owner, verb, file, parameters, no working folder, show).
  // Returns the shell's instance value taken as unsigned (> 32 is success).
  virtual std::uintptr_t Execute(const std::wstring& verb, const std::wstring& file,
                                 const std::wstring& parameters, int show) = 0;
};

}  // namespace corvel
