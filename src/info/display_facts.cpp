#include "info/display_facts.h"

#include "base/errors.h"
#include "base/text.h"

namespace corvel {

std::optional<std::wstring> ColourDepthName(int bits) {
  switch (bits) {
    case 4: return L"16 Colors (4 Bit)";
    case 8: return L"256 Colors (8 Bit)";
    case 16: return L"64K Colors, High Color (16 Bit)";
    case 24: return L"16M Colors, True Color (24 Bit)";
    case 32: return L"16M Colors, True Color (32 Bit)";
    default: return std::nullopt;
  }
}

int RefreshRateShown(int hz) { return hz == 0 || hz == 1 ? 60 : hz; }

std::wstring AdapterRamText(std::wstring_view adapterRam) {
  const int bytes = StrToInt(adapterRam);
  return IntToStr(bytes / 1048576) + L" MB";  // C++ division cuts towards zero
}

std::wstring PnpPrefix(std::wstring_view pnpDeviceId) { return Copy(pnpDeviceId, 1, 3); }

std::wstring IconFileOfDefaultIcon(std::wstring_view defaultIcon) {
  std::wstring file = RemoveAll(defaultIcon, L"%1");
  // The index follows the last comma: digits with an optional minus.
  const std::size_t comma = file.rfind(L',');
  if (comma != std::wstring::npos) {
    std::size_t i = comma + 1;
    while (i < file.size() && file[i] == L' ') ++i;
    if (i < file.size() && file[i] == L'-') ++i;
    const std::size_t digits = i;
    while (i < file.size() && file[i] >= L'0' && file[i] <= L'9') ++i;
    if (i > digits && Trim(std::wstring_view(file).substr(i)).empty()) file.erase(comma);
  }
  file = Trim(file);
  // A quoted path keeps its text, not its quotes ("\"%1\"" leaves nothing).
  if (file.size() >= 2 && file.front() == L'"' && file.back() == L'"') file = Trim(file.substr(1, file.size() - 2));
  return file;
}

ResolutionCheck CheckResolution(std::wstring editWidth, std::wstring editHeight, ScreenSize screen,
                                const std::function<bool(Msg)>& ask) {
  ResolutionCheck r{std::move(editWidth), std::move(editHeight), std::nullopt, {}, std::nullopt};
  try {
    // An empty edit takes the current size; its figure counts as 0 below.
    int dw = 0, dh = 0;
    if (!Trim(r.editWidth).empty())
      dw = StrToInt(Trim(r.editWidth));
    else
      r.editWidth = IntToStr(screen.width);
    if (!Trim(r.editHeight).empty())
      dh = StrToInt(Trim(r.editHeight));
    else
      r.editHeight = IntToStr(screen.height);
    // Nothing to ask when every stored figure matches the screen: an edit that
    // was empty has just been given the screen's figure.
    const bool widthMatches = dw == 0 || dw == screen.width;
    const bool heightMatches = dh == 0 || dh == screen.height;
    if (widthMatches && heightMatches) return r;
    r.asked.push_back(Msg::ResolutionChanged);
    if (ask(Msg::ResolutionChanged)) {
      if (dw >= 640 && dh >= 480) r.setTo = ScreenSize{dw, dh};
      return r;
    }
    r.asked.push_back(Msg::KeepNewResolution);
    if (ask(Msg::KeepNewResolution)) {
      r.editWidth = IntToStr(screen.width);
      r.editHeight = IntToStr(screen.height);
    }
  } catch (const Error& e) {
    r.failure = e.text();
  }
  return r;
}

}  // namespace corvel
