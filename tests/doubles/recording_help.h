// An ApplicationHelp that records the help it would open instead of opening it.
#pragma once
#include <string>
#include <vector>

#include "win/help.h"

namespace corvel {

struct RecordingHelp : ApplicationHelp {
  struct Call {
    std::wstring file;
    unsigned context;
  };
  std::vector<Call> calls;
  void Open(HWND, const std::wstring& helpFile, unsigned context) override { calls.push_back({helpFile, context}); }
};

}  // namespace corvel
