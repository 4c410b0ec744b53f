// The system's memory status: the version, the 64-bit total and the 32-bit record.
#pragma once
#include "info/memory_figures.h"

namespace corvel {

class SystemMemorySource : public MemorySource {
 public:
  std::optional<OsVersion> Version() override;
  std::optional<std::uint64_t> ExtendedTotal() override;
  // GlobalMemoryStatus with each figure capped at 4 GB - 1 bytes, as the
  // system hands it to a 32-bit program.
  MemoryStatus32 Status() override;
};

}  // namespace corvel
