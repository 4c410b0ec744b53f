// The file helpers against real files in a fresh folder of the test prefix's
// temporary folder.
#include "fileinfo/file_helpers.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/datetime.h"
#include "base/text.h"
#include "win/handles.h"
#include "win/support/temp_folder.h"

namespace corvel {
namespace {

// Paths handed to the set-up code carry the prefix themselves, so the set-up
// does not lean on the code under test.
std::wstring Prefixed(const std::wstring& path) { return L"\\\\?\\" + path; }

class FileHelpers : public ::testing::Test {
 protected:
  std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

  std::wstring MakeFile(const std::wstring& name, std::size_t bytes = 0) const {
    const std::wstring path = Path(name);
    UniqueHandle file(CreateFileW(Prefixed(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file.IsValid()) << "cannot create the test file";
    const std::vector<char> data(bytes, 'x');
    DWORD written = 0;
    if (bytes) EXPECT_TRUE(WriteFile(file.Get(), data.data(), static_cast<DWORD>(bytes), &written, nullptr));
    return path;
  }

  std::wstring MakeFolder(const std::wstring& name) const {
    const std::wstring path = Path(name);
    EXPECT_TRUE(CreateDirectoryW(Prefixed(path).c_str(), nullptr));
    return path;
  }

  testing::TempFolder temp_{L"corvel-file-helpers-"};
  std::wstring folder_ = temp_.Folder();
};

enum class Which { Written, Accessed };

// Sets one of the file's times to a local wall-clock time. The inverse of
// the helpers' FileTimeToLocalFileTime, so the round trip is exact.
void SetLocalTime(const std::wstring& path, Which which, int y, int m, int d, int h, int mi, int s) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  FILETIME local, utc;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
  UniqueHandle file(CreateFileW(Prefixed(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(file.IsValid());
  ASSERT_TRUE(SetFileTime(file.Get(), nullptr, which == Which::Accessed ? &utc : nullptr,
                          which == Which::Written ? &utc : nullptr));
}

TEST_F(FileHelpers, FileSizeOfReadsTheDirectoryEntry) {
  MakeFile(L"empty.txt");
  MakeFile(L"one.txt", 1);
  MakeFile(L"some.dat", 4099);
  MakeFolder(L"sub");
  struct Case { std::wstring path; std::uint64_t size; const char* what; } const cases[] = {
      {Path(L"empty.txt"), 0, "empty file"},
      {Path(L"one.txt"), 1, "one byte"},
      {Path(L"some.dat"), 4099, "a few pages"},
      {Path(L"*.dat"), 4099, "wildcard"},
      {Path(L"s?me.*"), 4099, "question mark"},
      {Path(L"*.none"), 0, "wildcard without a match"},
      {Path(L"missing.txt"), 0, "missing file"},
      {Path(L"nofolder\\one.txt"), 0, "missing folder"},
      {Path(L"sub"), 0, "a folder"},
      {L"", 0, "empty path"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileSizeOf(c.path), c.size) << c.what;
}

TEST_F(FileHelpers, FileSizeOfTakesTheHigh32Bits) {
  const std::wstring path = Path(L"big.bin");
  {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.IsValid());
    DWORD ignored = 0;
    // Sparse, so the test costs no disk space where the file system allows it.
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 5'000'000'000LL;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.Get()));
  }
  EXPECT_EQ(FileSizeOf(path), 5'000'000'000ull);
}

struct DateCase {
  int y, m, d, h, mi, s;
  double expected;  // 0: no date
  const char* what;
};

std::vector<DateCase> DateCases() {
  const auto at = [](int y, int m, int d, int h, int mi, int s) { return EncodeDate(y, m, d) + EncodeTime(h, mi, s, 0); };
  return {
      {2023, 5, 17, 10, 15, 37, at(2023, 5, 17, 10, 15, 36), "odd second rounded down"},
      {2023, 5, 17, 10, 15, 36, at(2023, 5, 17, 10, 15, 36), "even second kept"},
      {2024, 2, 29, 23, 59, 59, at(2024, 2, 29, 23, 59, 58), "leap day, last second"},
      {1980, 1, 1, 0, 0, 0, at(1980, 1, 1, 0, 0, 0), "first DOS second"},
      {2107, 12, 31, 23, 59, 59, at(2107, 12, 31, 23, 59, 58), "last DOS second"},
      {1979, 12, 31, 23, 59, 59, 0, "before 1980: no DOS form"},
      {2108, 1, 1, 0, 0, 0, 0, "after 2107: no DOS form"},
  };
}

TEST_F(FileHelpers, FileLastWrittenPassesThroughTheDosForm) {
  const std::wstring path = MakeFile(L"dated.txt", 10);
  for (const auto& c : DateCases()) {
    SetLocalTime(path, Which::Written, c.y, c.m, c.d, c.h, c.mi, c.s);
    EXPECT_EQ(FileLastWritten(path), c.expected) << c.what;
  }
}

TEST_F(FileHelpers, FileLastAccessedPassesThroughTheDosForm) {
  const std::wstring path = MakeFile(L"dated.txt", 10);
  for (const auto& c : DateCases()) {
    SetLocalTime(path, Which::Accessed, c.y, c.m, c.d, c.h, c.mi, c.s);
    EXPECT_EQ(FileLastAccessed(path), c.expected) << c.what;
    EXPECT_EQ(FileLastAccessed(Path(L"dated.*")), c.expected) << c.what << " (wildcard)";
  }
}

// The write date names one file: a pattern matches nothing, even when a file
// it would match exists (the size and the access date do take patterns).
TEST_F(FileHelpers, FileLastWrittenTakesNoWildcards) {
  const std::wstring path = MakeFile(L"dated.txt", 10);
  SetLocalTime(path, Which::Written, 2023, 5, 17, 10, 15, 36);
  ASSERT_NE(FileLastWritten(path), 0.0);
  for (const wchar_t* pattern : {L"*.txt", L"dated.*", L"date?.txt", L"?ated.txt"}) {
    EXPECT_EQ(FileLastWritten(Path(pattern)), 0.0) << Narrow(pattern);
    EXPECT_NE(FileSizeOf(Path(pattern)), 0u) << Narrow(pattern);
  }
}

TEST_F(FileHelpers, TheTwoDatesAreKeptApart) {
  const std::wstring path = MakeFile(L"both.txt");
  SetLocalTime(path, Which::Written, 2001, 2, 3, 4, 5, 6);
  SetLocalTime(path, Which::Accessed, 2011, 12, 13, 14, 15, 16);
  EXPECT_EQ(FileLastWritten(path), EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 6, 0));
  EXPECT_EQ(FileLastAccessed(path), EncodeDate(2011, 12, 13) + EncodeTime(14, 15, 16, 0));
}

TEST_F(FileHelpers, MissingFilesAndFolders) {
  MakeFolder(L"sub");
  struct Case { std::wstring path; bool folder; const char* what; } const cases[] = {
      {Path(L"missing.txt"), false, "missing file"},
      {Path(L"nofolder\\missing.txt"), false, "file in a missing folder"},
      {Path(L"*.none"), false, "wildcard without a match"},
      {L"", false, "empty path"},
      {Path(L"sub"), true, "a folder"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileSizeOf(c.path), 0u) << c.what;
    EXPECT_EQ(FileLastWritten(c.path), 0.0) << c.what;
    EXPECT_FALSE(FileInUse(c.path)) << c.what;
    // The access date asks for any matching entry, a folder's too.
    if (c.folder) EXPECT_NE(FileLastAccessed(c.path), 0.0) << c.what;
    else EXPECT_EQ(FileLastAccessed(c.path), 0.0) << c.what;
  }
}

TEST_F(FileHelpers, FileInUse) {
  const std::wstring closed = MakeFile(L"closed.txt", 3);
  const std::wstring exclusive = MakeFile(L"exclusive.txt", 3);
  const std::wstring shared = MakeFile(L"shared.txt", 3);
  const std::wstring readOnly = MakeFile(L"readonly.txt", 3);
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  UniqueHandle holdExclusive(CreateFileW(exclusive.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holdExclusive.IsValid());
  UniqueHandle holdShared(CreateFileW(shared.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
  ASSERT_TRUE(holdShared.IsValid());

  struct Case { std::wstring path; bool inUse; const char* what; } const cases[] = {
      {closed, false, "ordinary closed file"},
      {exclusive, true, "held open without sharing"},
      {shared, true, "held open with full sharing (the check wants it alone)"},
      {readOnly, true, "read-only attribute"},
      {Path(L"missing.txt"), false, "missing file"},
      {folder_, false, "a folder"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileInUse(c.path), c.inUse) << c.what;
  // The check closes its own handle: a second look gives the same answer.
  EXPECT_FALSE(FileInUse(closed));
}

TEST_F(FileHelpers, FileInUseIsFalseAgainOnceTheHolderCloses) {
  const std::wstring path = MakeFile(L"held.txt", 3);
  {
    UniqueHandle hold(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hold.IsValid());
    EXPECT_TRUE(FileInUse(path));
  }
  EXPECT_FALSE(FileInUse(path));
}

TEST_F(FileHelpers, PathsLongerThanMaxPath) {
  std::wstring folder = folder_;
  while (folder.size() < MAX_PATH + 40) {
    folder += L"\\a-rather-long-folder-name-for-the-test";
    ASSERT_TRUE(CreateDirectoryW(Prefixed(folder).c_str(), nullptr));
  }
  const std::wstring path = folder + L"\\long.txt";
  {
    UniqueHandle file(CreateFileW(Prefixed(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file.IsValid());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), "12345", 5, &written, nullptr));
  }
  SetLocalTime(path, Which::Written, 2020, 6, 7, 8, 9, 11);
  SetLocalTime(path, Which::Accessed, 2021, 6, 7, 8, 9, 10);
  ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));
  EXPECT_EQ(FileSizeOf(path), 5u);
  EXPECT_EQ(FileSizeOf(folder + L"\\*.txt"), 5u);
  EXPECT_EQ(FileLastWritten(path), EncodeDate(2020, 6, 7) + EncodeTime(8, 9, 10, 0));
  EXPECT_EQ(FileLastAccessed(path), EncodeDate(2021, 6, 7) + EncodeTime(8, 9, 10, 0));
  EXPECT_FALSE(FileInUse(path));
  UniqueHandle hold(CreateFileW(Prefixed(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(hold.IsValid());
  EXPECT_TRUE(FileInUse(path));
}

TEST(ExtendedLengthPath, OnlyLongPathsGetThePrefix) {
  const std::wstring longName(300, L'n');
  struct Case { std::wstring in, out; const char* what; } const cases[] = {
      {L"C:\\short\\file.txt", L"C:\\short\\file.txt", "short path unchanged"},
      {L"C:\\short\\..\\file.txt", L"C:\\short\\..\\file.txt", "short path keeps its dots"},
      {L"C:\\x\\" + longName, L"\\\\?\\C:\\x\\" + longName, "long drive path"},
      {L"C:/x/" + longName, L"\\\\?\\C:\\x\\" + longName, "forward slashes made canonical"},
      {L"C:\\x\\y\\..\\" + longName, L"\\\\?\\C:\\x\\" + longName, "dot-dot resolved"},
      {L"C:\\x\\.\\" + longName, L"\\\\?\\C:\\x\\" + longName, "dot resolved"},
      {L"\\\\server\\share\\" + longName, L"\\\\?\\UNC\\server\\share\\" + longName, "long UNC path"},
      {L"\\\\?\\C:\\x\\" + longName, L"\\\\?\\C:\\x\\" + longName, "already prefixed"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtendedLengthPath(c.in), c.out) << c.what;
}

}  // namespace
}  // namespace corvel
