// The hourglass while a long step runs on the window's thread; the cursor
// before it comes back at the end of the scope, also when the step throws.
#pragma once
#include <windows.h>

namespace corvel {

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace corvel
