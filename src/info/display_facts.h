// Rules of the Display page and of the resolution check on activation that do
// not need a window. Portable: the system's readings come through the
// DisplaySource port.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/messages.h"

namespace corvel {

struct ScreenSize {
  int width = 0, height = 0;
  bool operator==(const ScreenSize&) const = default;
};

// What the Display page shows of the system itself.
struct DisplayFacts {
  int width = 0, height = 0, refreshRate = 0, bitsPerPixel = 0;  // the primary display's registry mode
  int deviceBits = 0;  // bits per pixel of the screen device context
  int dpi = 0, monitors = 0, iconWidth = 0, iconHeight = 0;
  std::wstring iconLocation, screenSaver, wallpaper;
  bool clearType = false;
};

class DisplaySource {
 public:
  virtual ~DisplaySource() = default;
  virtual DisplayFacts Facts() = 0;
  virtual ScreenSize CurrentSize() = 0;  // the primary display's size now
  // Mode 0 of the primary display with only width and height set, stored as
  // the default for the next logon. True when the display took it.
  virtual bool SetScreenResolution(int width, int height) = 0;
};

// "16 Colors (4 Bit)" ... "16M Colors, True Color (32 Bit)"; nothing for other
// depths (the label keeps its text).
std::optional<std::wstring> ColourDepthName(int bits);

// A refresh rate of 0 or 1 means the hardware's default: shown as 60.
int RefreshRateShown(int hz);

// WMI's AdapterRAM read as a signed 32-bit number of bytes, whole mebibytes
// cut towards zero: "-1" (4 GB wrapped) -> "0 MB", "-2147483648" (2 GB) ->
// "-2048 MB". Throws ConvertError for an empty or non-numeric text.
std::wstring AdapterRamText(std::wstring_view adapterRam);

// The first three characters of WMI's PNPDeviceID ("PCI", "VEN"...).
std::wstring PnpPrefix(std::wstring_view pnpDeviceId);

// A default-icon entry without its "%1" and icon index:
// "%SystemRoot%\System32\shell32.dll,-152" -> "%SystemRoot%\System32\shell32.dll".
std::wstring IconFileOfDefaultIcon(std::wstring_view defaultIcon);

// The check on activation, over the two edits and the current screen size.
// `ask` puts one of the two questions and gives true for Yes.
struct ResolutionCheck {
  std::wstring editWidth, editHeight;    // the edits afterwards
  std::optional<ScreenSize> setTo;       // the resolution to switch to
  std::vector<Msg> asked;                // the questions, in order
  std::optional<std::wstring> failure;   // a conversion error ended the check here
};
ResolutionCheck CheckResolution(std::wstring editWidth, std::wstring editHeight, ScreenSize screen,
                                const std::function<bool(Msg)>& ask);

}  // namespace corvel
