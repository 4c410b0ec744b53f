#include "win/remote_buffer.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "win/system_message.h"

namespace corvel {

namespace {

[[noreturn]] void ThrowSystemError(DWORD code) { throw Error(SystemMessage(code)); }
[[noreturn]] void ThrowLastError() { ThrowSystemError(GetLastError()); }

}  // namespace

UniqueHandle OpenWindowProcess(HWND window) {
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(window, &pid) || !pid) ThrowLastError();
  UniqueHandle process(OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.IsValid()) ThrowLastError();
  return process;
}

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t size) : process_(process), size_(size) {
  if (size == 0) ThrowSystemError(ERROR_INVALID_PARAMETER);
  address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!address_) ThrowLastError();
}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

RemoteBuffer::RemoteBuffer(RemoteBuffer&& other) noexcept
    : process_(other.process_), address_(std::exchange(other.address_, nullptr)), size_(std::exchange(other.size_, 0)) {}

void RemoteBuffer::CheckRange(std::size_t offset, std::size_t size) const {
  if (offset > size_ || size > size_ - offset) ThrowSystemError(ERROR_INVALID_PARAMETER);
}

void RemoteBuffer::Write(std::size_t offset, const void* data, std::size_t size) const {
  CheckRange(offset, size);
  SIZE_T done = 0;
  if (!WriteProcessMemory(process_, At(offset), data, size, &done)) ThrowLastError();
  if (done != size) ThrowSystemError(ERROR_PARTIAL_COPY);
}

void RemoteBuffer::Read(std::size_t offset, void* data, std::size_t size) const {
  CheckRange(offset, size);
  SIZE_T done = 0;
  if (!ReadProcessMemory(process_, At(offset), data, size, &done)) ThrowLastError();
  if (done != size) ThrowSystemError(ERROR_PARTIAL_COPY);
}

std::wstring RemoteBuffer::ReadText(const void* address, std::size_t maxChars) const {
  // Read page by page up to the zero: a text in the other process's own
  // storage may end just before memory that cannot be read.
  constexpr std::uintptr_t kPage = 4096;
  std::wstring text;
  auto at = reinterpret_cast<std::uintptr_t>(address);
  while (text.size() < maxChars) {
    const std::size_t chars = std::min<std::size_t>(maxChars - text.size(), ((at | (kPage - 1)) + 1 - at) / sizeof(wchar_t));
    std::vector<wchar_t> chunk(chars ? chars : 1);
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, reinterpret_cast<const void*>(at), chunk.data(), chunk.size() * sizeof(wchar_t), &done))
      ThrowLastError();
    for (wchar_t c : chunk) {
      if (c == L'\0') return text;
      text += c;
    }
    at += chunk.size() * sizeof(wchar_t);
  }
  return text;
}

}  // namespace corvel
