// Memory placed in another process, for the messages whose data must lie in
// the receiver's address space (reading another program's list view or tab
// items). Read-write, never executable: nothing is ever run there. Every
// failing call throws Error with the system's message.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "win/handles.h"

namespace corvel {

// The process of a window, opened for placing, writing and reading memory
// (and for asking its id).
UniqueHandle OpenWindowProcess(HWND window);

class RemoteBuffer {
 public:
  // size bytes in process (which needs PROCESS_VM_OPERATION, _READ, _WRITE),
  // released again by this owner.
  RemoteBuffer(HANDLE process, std::size_t size);
  ~RemoteBuffer();
  RemoteBuffer(RemoteBuffer&& other) noexcept;
  RemoteBuffer& operator=(RemoteBuffer&&) = delete;
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  // The buffer's address in the other process: what goes into the message.
  void* Address() const { return address_; }
  std::size_t Size() const { return size_; }
  // The other process's address of a byte of the buffer.
  void* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }

  // Copies into or out of the buffer; a range outside it is refused.
  void Write(std::size_t offset, const void* data, std::size_t size) const;
  void Read(std::size_t offset, void* data, std::size_t size) const;
  template <class T>
  void WriteValue(std::size_t offset, const T& value) const { Write(offset, &value, sizeof value); }
  template <class T>
  T ReadValue(std::size_t offset) const {
    T value{};
    Read(offset, &value, sizeof value);
    return value;
  }
  // A text of up to maxChars characters written by the other process at
  // address (the buffer's or its own storage), up to its terminating zero.
  std::wstring ReadText(const void* address, std::size_t maxChars) const;

 private:
  void CheckRange(std::size_t offset, std::size_t size) const;

  HANDLE process_;
  void* address_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace corvel
