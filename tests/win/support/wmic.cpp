#include "win/support/wmic.h"

#include <windows.h>

#include <vector>

#include "base/text.h"
#include "win/handles.h"

namespace corvel::testing {

std::optional<std::wstring> WmicLast(const std::wstring& alias, const std::wstring& property) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
  UniqueHandle reader(readEnd), writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{sizeof si};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"wmic.exe " + alias + L" get " + property;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, L"C:\\windows", &si, &pi))
    return std::nullopt;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  writer.Close();
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  WaitForSingleObject(pi.hProcess, 30000);
  // wmic writes UTF-16 (a byte-order mark may lead).
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(TrimRight(text.substr(start, end - start)));
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.size() < 2 || !SameTextAscii(lines[0], property)) return std::nullopt;
  return lines.back();
}

}  // namespace corvel::testing
