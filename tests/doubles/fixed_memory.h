// A MemorySource for tests: answers a fixed version, 64-bit total and 32-bit
// record, and counts the record reads. Header-only and portable.
#pragma once
#include "info/memory_figures.h"

namespace corvel {

struct FixedMemory : MemorySource {
  std::optional<OsVersion> version = OsVersion{true, 6};
  std::optional<std::uint64_t> extended;  // nothing: the extended call fails
  MemoryStatus status;
  int statusReads = 0;
  std::optional<OsVersion> Version() override { return version; }
  std::optional<std::uint64_t> ExtendedTotal() override { return extended; }
  MemoryStatus Status() override {
    ++statusReads;
    return status;
  }
};

}  // namespace corvel
