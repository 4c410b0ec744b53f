// The buffer placed in another process: in a child process the test starts
// and in its own, read-write and never executable, and every failure as the
// system's message.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "win/handles.h"
#include "win/remote_buffer.h"
#include "win/system_message.h"

namespace corvel {
namespace {

// A command interpreter that waits on its input until the test ends it.
class Child {
 public:
  Child() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    EXPECT_TRUE(CreatePipe(&read, &write, &inherit, 0));
    input_ = UniqueHandle(write);
    UniqueHandle childInput(read);
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = read;
    si.hStdOutput = si.hStdError = GetStdHandle(STD_OUTPUT_HANDLE);
    std::wstring command = L"cmd.exe /q /k";
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                               L"C:\\windows", &si, &pi));
    process_ = UniqueHandle(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    id_ = pi.dwProcessId;
  }
  ~Child() {
    TerminateProcess(process_.Get(), 0);
    WaitForSingleObject(process_.Get(), 5000);
  }
  HANDLE Process() const { return process_.Get(); }
  DWORD Id() const { return id_; }

 private:
  UniqueHandle input_, process_;
  DWORD id_ = 0;
};

TEST(RemoteBuffer, WritesAndReadsBackInAnotherProcessAndItsOwn) {
  Child child;
  for (HANDLE process : {child.Process(), GetCurrentProcess()}) {
    const RemoteBuffer buffer(process, 4095);
    ASSERT_NE(buffer.Address(), nullptr);
    EXPECT_EQ(buffer.Size(), 4095u);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQueryEx(process, buffer.Address(), &info, sizeof info), 0u);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READWRITE)) << "read-write, never executable";
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));

    // The 8-byte record at offset 52, as a list view's item position goes.
    const POINT at{-12, 345};
    buffer.WriteValue(52, at);
    const auto back = buffer.ReadValue<POINT>(52);
    EXPECT_EQ(back.x, -12);
    EXPECT_EQ(back.y, 345);
    const std::wstring text = L"Gr\u00fc\u00dfe";
    buffer.Write(100, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(buffer.ReadText(buffer.At(100), 260), text);
    EXPECT_EQ(buffer.ReadText(buffer.At(100), 3), L"Gr\u00fc") << "no more than asked for";
    buffer.WriteValue<std::uint8_t>(4094, 7);  // the last byte is the buffer's
    EXPECT_EQ(buffer.ReadValue<std::uint8_t>(4094), 7);
  }
}

// In our own process: a child still starting up may take the freed pages
// for itself at once, which says nothing about who released them.
TEST(RemoteBuffer, TheOwnerReleasesTheMemory) {
  void* address = nullptr;
  {
    RemoteBuffer first(GetCurrentProcess(), 64);
    RemoteBuffer moved(std::move(first));  // one owner after the move
    address = moved.Address();
    EXPECT_EQ(first.Address(), nullptr);
  }
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQueryEx(GetCurrentProcess(), address, &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}

TEST(RemoteBuffer, FailuresThrowTheSystemsMessage) {
  Child child;
  const std::wstring invalid = SystemMessage(ERROR_INVALID_PARAMETER), denied = SystemMessage(ERROR_ACCESS_DENIED);
  const RemoteBuffer buffer(child.Process(), 16);
  std::uint64_t value = 0;
  // A handle that may not place memory, a range outside the buffer, no size at all.
  UniqueHandle queryOnly(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, child.Id()));
  ASSERT_TRUE(queryOnly.IsValid());
  const struct { const char* what; std::function<void()> step; std::wstring text; } cases[] = {
      {"no access right", [&] { RemoteBuffer(queryOnly.Get(), 16); }, denied},
      {"write past the end", [&] { buffer.Write(9, &value, sizeof value); }, invalid},
      {"read past the end", [&] { buffer.Read(16, &value, 1); }, invalid},
      {"offset wraps", [&] { buffer.Read(static_cast<std::size_t>(-1), &value, 2); }, invalid},
      {"empty buffer", [&] { RemoteBuffer(child.Process(), 0); }, invalid},
  };
  for (const auto& c : cases) {
    try {
      c.step();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.text(), c.text) << c.what;
    }
  }
  EXPECT_FALSE(invalid.empty());
  EXPECT_NE(invalid, L"System error " + IntToStr(ERROR_INVALID_PARAMETER)) << "the system's own text";
}

TEST(RemoteBuffer, OpensTheProcessOfAWindow) {
  HWND window = CreateWindowExW(0, L"STATIC", L"own", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const UniqueHandle process = OpenWindowProcess(window);
  EXPECT_EQ(GetProcessId(process.Get()), GetCurrentProcessId());
  DestroyWindow(window);
  EXPECT_THROW(OpenWindowProcess(window), Error) << "a window that is gone";
}

}  // namespace
}  // namespace corvel
