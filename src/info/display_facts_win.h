// The system's display readings and the resolution change.
#pragma once
#include <windows.h>

#include "info/display_facts.h"

namespace corvel {

class SystemDisplaySource : public DisplaySource {
 public:
  DisplayFacts Facts() override;
  ScreenSize CurrentSize() override;
  bool SetScreenResolution(int width, int height) override;
};

// The record SetScreenResolution applies: mode 0 with only the width and the
// height (16-bit figures) marked as set.
DEVMODEW ResolutionModeRecord(const DEVMODEW& mode0, int width, int height);

// The icon file the shell reports for an empty file name, else the file
// type's default-icon entry without "%1" and index.
std::wstring IconLocationText();

}  // namespace corvel
