// The Memory page's figures and percentages from the system's memory status.
// Portable: the readings come through the MemorySource port.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvel {

// The memory status record (GlobalMemoryStatus) as the system gives it to
// this 64-bit program: figures in bytes, not capped at 4 GB as they are for
// 32-bit programs (a cap would hold the free memory at 4096 MB and make the
// used memory grow with every gigabyte installed).
struct MemoryStatus {
  std::uint32_t memoryLoad = 0;  // percent in use
  std::uint64_t totalPhys = 0, availPhys = 0;
  std::uint64_t totalPageFile = 0, availPageFile = 0;
  std::uint64_t totalVirtual = 0, availVirtual = 0;
};

struct OsVersion {
  bool nt = true;      // NT family (not Windows 9x)
  unsigned major = 0;
};

class MemorySource {
 public:
  virtual ~MemorySource() = default;
  virtual std::optional<OsVersion> Version() = 0;        // nothing when the system cannot tell
  virtual std::optional<std::uint64_t> ExtendedTotal() = 0;  // 64-bit total; nothing when the call fails
  virtual MemoryStatus Status() = 0;
};

// NT 5 and later: the 64-bit total (0 when that call fails); older systems:
// the 32-bit record's total. Throws Error "Cannot get Windows version".
std::uint64_t TotalPhysicalMemory(MemorySource& source);

// One write into a control of the page: a text, or a bar position (0..100).
struct PageWrite {
  std::wstring control;
  std::wstring text;
  int position = 0;
  bool bar = false;
  bool operator==(const PageWrite&) const = default;
};

// The page's writes in the order the fill makes them. A division that has no
// value (a total of 0) ends the fill there: `failure` holds the run-time's
// floating-point error text and the writes before it stay.
struct MemoryFigures {
  std::vector<PageWrite> writes;
  std::optional<std::wstring> failure;
  // The last text written into a control; nothing when it was not written.
  std::optional<std::wstring> Text(const std::wstring& control) const;
  std::optional<int> Bar(const std::wstring& control) const;
};

// virtualStatus: the record read first, for the virtual figures; status: the
// one read after the total, for the others.
MemoryFigures MemoryPageFigures(const MemoryStatus& virtualStatus, std::uint64_t totalPhysBytes,
                             const MemoryStatus& status);

}  // namespace corvel
