// A Shell double for tests: records every start and answers with scripted
// results (42, a success, when none is queued). Header-only and portable.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "base/shell.h"

namespace corvel {

struct ShellCall {
  std::wstring verb, file, parameters;
  int show = 0;
  bool operator==(const ShellCall&) const = default;
};

class RecordingShell : public Shell {
 public:
  std::vector<ShellCall> calls;
  std::deque<std::uintptr_t> results;
  std::uintptr_t fallback = 42;

  std::uintptr_t Execute(const std::wstring& verb, const std::wstring& file,
                         const std::wstring& parameters, int show) override {
    calls.push_back({verb, file, parameters, show});
    if (results.empty()) return fallback;
    const std::uintptr_t r = results.front();
    results.pop_front();
    return r;
  }
};

}  // namespace corvel
