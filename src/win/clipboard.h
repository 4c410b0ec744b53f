// Text on the clipboard.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace corvel {

// Puts a text on the clipboard; throws Error with the system's message on
// failure.
void SetClipboardText(HWND owner, const std::wstring& text);

// The clipboard's Unicode text; nothing when it holds none or cannot be opened.
std::optional<std::wstring> ClipboardText(HWND owner);

}  // namespace corvel
