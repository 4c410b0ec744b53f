#include "tools/control_page_window.h"

#include <array>

#include "tools/shortcuts.h"
#include "win/folders.h"

namespace corvel {

namespace {

// Left: the shortcuts in two columns, the tools below. Right: the clipboard
// view, the system and desktop buttons below.
constexpr int kLeft = 6, kRight = 288, kHalf = 137;
constexpr RECT Shortcut(int i) { return {kLeft + (i % 2) * kHalf, 20 + (i / 2) * 22, kHalf - 4, 20}; }
constexpr RECT LeftTool(int column, int row) { return {kLeft + column * kHalf, 282 + row * 27, kHalf - 4, 24}; }
constexpr RECT RightTool(int column, int row) { return {kRight + column * 201, 282 + row * 27, 197, 24}; }

constexpr std::array<ControlSpec, kLauncherCount> ShortcutButtons() {
  std::array<ControlSpec, kLauncherCount> specs{};
  for (int i = 0; i < kLauncherCount; ++i)
    specs[i] = {Kind::Button, kLaunchers[i].button, kLaunchers[i].caption, Shortcut(i), 0, kLaunchers[i].hint};
  return specs;
}

const ControlSpec kHeadings[] = {
    {Kind::Caption, L"Label66", L"System dialogues", {kLeft, 4, 270, 14}, kBold},
    {Kind::Caption, L"Label71", L"Clipboard Viewer", {kRight, 4, 300, 14}, kBold},
    {Kind::Button, L"SpeedButton1", L"", {kRight + 376, 0, 24, 19}, 0, L"Show Clipboard"},
    {Kind::Caption, L"ClipboardViewer", L"", {kRight, 20, 400, 240}},
    {Kind::Caption, L"LabelTools", L"Tools", {kLeft, 266, 270, 14}, kBold},
    {Kind::Caption, L"LabelSystem2", L"System and desktop", {kRight, 266, 300, 14}, kBold},
    {Kind::Button, L"SpeedButton6", L"DOS Prompt", LeftTool(0, 0), 0, L"Dos prompt"},
    {Kind::Button, L"ButtonUliste", L"User list", LeftTool(1, 0), 0, L"Show Windows User List"},
    {Kind::Button, L"Buttoncalc", L"Calc", LeftTool(0, 1), 0, L"Run calculator"},
    {Kind::Button, L"SpeedButton53", L"File Info     ", LeftTool(1, 1), 0, L"Get file properties"},
    {Kind::Button, L"SpeedButton4", L"Cleaner", LeftTool(0, 2), 0, L"Remove redundant files"},
    {Kind::Button, L"SpeedButton5", L"Screenshot", LeftTool(1, 2), 0, L"Create screenshot"},
    {Kind::Button, L"SpeedButton24", L"Shut down ", LeftTool(0, 3), 0, L"Shut dowsn system"},
    {Kind::Button, L"SpeedButton25", L"Reboot   ", LeftTool(1, 3), 0, L"Reboot system"},
    {Kind::Button, L"SpeedButton52", L"Extract icons from file", RightTool(0, 0), 0, L"Extract icons from EXE or DLL files"},
    {Kind::Button, L"SpeedButton2", L"Clear Clipboard", RightTool(1, 0), 0, L"Clear clipboard content"},
    {Kind::Button, L"SpeedButton30", L"Save desktop icons", RightTool(0, 1), 0, L"Save desktop icon positions"},
    {Kind::Button, L"SpeedButton31", L"Restore desktop  icons", RightTool(1, 1), 0, L"Restore desktop icons   "},
    {Kind::Button, L"SpeedButton32", L"Set Restore Point", RightTool(0, 2), 0, L"Create new system restore point"},
    {Kind::Button, L"SpeedButton33", L"Enable/Disable Sytem Restore", RightTool(1, 2), 0,
     L"Enable/Disable Windows system restore feature"},
    {Kind::Button, L"SpeedButton29", L"Windows Update", RightTool(0, 3), 0, L"Open Windows Update"},
    {Kind::Button, L"SpeedButton3", L"Clear Recycle Bin", RightTool(1, 3), 0, L"Clear Recycle Bin"},
};

// One table: the shortcuts, then the rest.
const std::array<ControlSpec, kLauncherCount + std::size(kHeadings)> kControlPage = [] {
  std::array<ControlSpec, kLauncherCount + std::size(kHeadings)> all{};
  const auto shortcuts = ShortcutButtons();
  std::size_t n = 0;
  for (const ControlSpec& s : shortcuts) all[n++] = s;
  for (const ControlSpec& s : kHeadings) all[n++] = s;
  return all;
}();

}  // namespace

std::span<const ControlSpec> ControlPage::Layout() const { return kControlPage; }

void ControlPage::Bind() {
  for (const Launcher& launcher : kLaunchers)
    form().OnClick(launcher.button, [this, &launcher] {
      RunLauncher(launcher, shell_, ops_, dialogs(), messages_, SystemFolder());
    });
}

}  // namespace corvel
