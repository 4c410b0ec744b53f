// A PowerSource for tests: answers one record, counts the questions and
// throws Error when told to fail. Header-only and portable.
#pragma once
#include "base/errors.h"
#include "info/power_status.h"

namespace corvel {

struct FixedPower : PowerSource {
  PowerRecord record;
  bool fail = false;
  int reads = 0;
  PowerRecord Read() override {
    ++reads;
    if (fail) throw Error(L"Zugriff verweigert");
    return record;
  }
};

}  // namespace corvel
