// The system's memory status: the version, the 64-bit total and the status record.
#pragma once
#include "info/memory_figures.h"

namespace corvel {

class SystemMemorySource : public MemorySource {
 public:
  std::optional<OsVersion> Version() override;
  std::optional<std::uint64_t> ExtendedTotal() override;
  // GlobalMemoryStatus as the system gives it to this 64-bit program.
  MemoryStatus Status() override;
};

}  // namespace corvel
