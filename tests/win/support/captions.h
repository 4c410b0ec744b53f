// Captions a window cuts: what the control shows is narrower or lower than
// its text in its own font, for the controls whose text is part of the design.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace corvel::testing {

// "<name> \"<text>\": needs W x H, has w x h" for every caption, link, push
// button, check box, radio button and group box under window that cannot
// show its whole text on one line (value labels are data and left out).
std::vector<std::string> CutCaptions(HWND window);

}  // namespace corvel::testing
