#include "win/help.h"

namespace corvel {

void ShowHelpContext(HWND owner, const std::wstring& helpFile, unsigned context) {
  using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  static HMODULE hh = LoadLibraryW(L"hhctrl.ocx");  // kept for the program's life
  if (!hh) return;
  auto fn = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(hh, "HtmlHelpW")));
  constexpr UINT kHelpContext = 0x000F;
  if (fn) fn(owner, helpFile.c_str(), kHelpContext, context);
}

}  // namespace corvel
