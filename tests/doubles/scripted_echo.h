// An EchoClient double: answers from a script (a time-out when it runs out)
// and records every request. Header-only and portable.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "info/network_tools.h"

namespace corvel {

class ScriptedEcho : public EchoClient {
 public:
  struct Call {
    std::wstring host;
    unsigned size, timeout;
  };
  std::vector<Call> calls;
  std::deque<EchoOutcome> outcomes;
  std::function<void()> during;  // runs inside the first request

  EchoOutcome Echo(const std::wstring& host, unsigned size, unsigned timeout) override {
    calls.push_back({host, size, timeout});
    if (during) std::exchange(during, nullptr)();
    EchoOutcome o{EchoStatus::TimedOut};
    if (!outcomes.empty()) {
      o = outcomes.front();
      outcomes.pop_front();
    }
    return o;
  }
  std::vector<std::wstring> Hosts() const {
    std::vector<std::wstring> hosts;
    for (const Call& c : calls) hosts.push_back(c.host);
    return hosts;
  }
};

}  // namespace corvel
