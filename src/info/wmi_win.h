// The real Wmi port: WMI's COM interface, root\cimv2 of the local computer.
// COM must be initialised on the calling thread.
#pragma once
#include "info/wmi.h"

namespace corvel {

class Win32Wmi : public Wmi {
 public:
  // A new locator, connection and "SELECT * FROM <class>" on every call.
  WmiAnswer SelectAll(const std::wstring& className) override;
};

}  // namespace corvel
