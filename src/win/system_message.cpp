#include "win/system_message.h"

#include "base/text.h"
#include "win/handles.h"

namespace corvel {

std::wstring SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const UniqueLocal<wchar_t> text(buffer);
  return n ? Trim(std::wstring(text.get(), n)) : L"System error " + IntToStr(code);
}

}  // namespace corvel
