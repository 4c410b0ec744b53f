#include "win/system_message.h"

#include "base/text.h"

namespace corvel {

std::wstring SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring out = n ? Trim(std::wstring(text, n)) : L"System error " + IntToStr(code);
  if (text) LocalFree(text);
  return out;
}

}  // namespace corvel
