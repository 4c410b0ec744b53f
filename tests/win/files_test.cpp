// Whole-file reading and the replacing write that keeps the old file when the
// new one cannot be put in place.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "win/files.h"
#include "win/support/temp_folder.h"

namespace corvel {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(Files, ReadAndWriteAreByteExact) {
  TempFolder dir;
  std::string bytes("a\rb\nc\r\n\0d\x1a\xff", 11);
  WriteFileReplacing(dir / L"x.bin", bytes);
  EXPECT_EQ(ReadWholeFile(dir / L"x.bin"), bytes);
  WriteFileReplacing(dir / L"x.bin", "");
  EXPECT_EQ(ReadWholeFile(dir / L"x.bin"), std::string());
}

TEST(Files, MissingFileReadsAsNothing) {
  TempFolder dir;
  EXPECT_FALSE(ReadWholeFile(dir / L"none.ini").has_value());
  EXPECT_FALSE(ReadWholeFile(dir / L"nofolder\\none.ini").has_value());
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_TRUE(DirectoryExists(dir.path()));
}

TEST(Files, UnreadableFileRaisesInOutError) {
  TempFolder dir;
  std::wstring path = dir / L"locked.ini";
  WriteBytes(path, "old");
  HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_THROW(ReadWholeFile(path), InOutError);
  CloseHandle(lock);
}

TEST(Files, FailedReplaceKeepsTheOldFileAndLeavesNoTemporary) {
  TempFolder dir;
  std::wstring path = dir / L"corvel.ini";
  WriteBytes(path, "previous settings");
  // Another program holds the file open without sharing: the new contents
  // cannot be put in place.
  HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_THROW(WriteFileReplacing(path, "new settings"), InOutError);
  CloseHandle(lock);
  EXPECT_EQ(ReadWholeFile(path), std::string("previous settings"));
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((dir / L"*.tmp*").c_str(), &fd);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "temporary file left behind";
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST(Files, WriteIntoMissingFolderFails) {
  TempFolder dir;
  EXPECT_THROW(WriteFileReplacing(dir / L"missing\\corvel.ini", "x"), InOutError);
}

}  // namespace
}  // namespace corvel
