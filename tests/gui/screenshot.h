// Screenshots of a screen rectangle, saved as PNG for people to look at.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace corvel::gui {

struct Screenshot {
  int width = 0;
  int height = 0;
  std::string rgb;  // rows top-down, R G B per pixel

  // A blank capture (nothing drawn, or the screen not readable) is one colour.
  bool IsOneColour() const;
};

// Copies `rect` (screen coordinates) from the screen with GetDC(NULL) and
// BitBlt into a DIB section.
std::optional<Screenshot> CaptureScreenRect(const RECT& rect);
// The window's rectangle as it is on the screen.
std::optional<Screenshot> CaptureWindow(HWND window);

// Writes the PNG file; false (and `error`) when it cannot be written.
bool SavePng(const std::wstring& path, const Screenshot& shot, std::wstring* error);

}  // namespace corvel::gui
