// Wine's own wmic as the peer the WMI texts are compared with.
#pragma once
#include <optional>
#include <string>

namespace corvel::testing {

// What `wmic <alias> get <property>` prints for the last instance, blanks at
// the end removed; nullopt when wmic could not be run.
std::optional<std::wstring> WmicLast(const std::wstring& alias, const std::wstring& property);

}  // namespace corvel::testing
