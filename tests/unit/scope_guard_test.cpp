#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "base/scope_guard.h"

namespace corvel {
namespace {

TEST(ScopeExit, RunsOnceOnEveryWayOutUnlessDismissed) {
  struct Case { const char* name; bool raise, dismiss, moved; int runs; };
  const Case cases[] = {
      {"return", false, false, false, 1},
      {"exception", true, false, false, 1},
      {"dismissed", false, true, false, 0},
      {"dismissed, then exception", true, true, false, 0},
      {"moved into another guard", false, false, true, 1},
  };
  for (const Case& c : cases) {
    int runs = 0;
    try {
      ScopeExit guard([&] { ++runs; });
      if (c.dismiss) guard.Dismiss();
      if (c.moved) {
        ScopeExit other(std::move(guard));
        EXPECT_EQ(runs, 0) << c.name;
      }
      if (c.raise) throw std::runtime_error("step failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(runs, c.runs) << c.name;
  }
}

}  // namespace
}  // namespace corvel
