// The cleaning engine on real files in a fresh folder of the test prefix's
// temporary folder: every canary must survive with its content, every target
// must go. Nothing outside that folder is named by any rule.
#include "cleaner/engine.h"
#include "cleaner/filesystem_win.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "base/text.h"
#include "win/handles.h"
#include "win/support/temp_folder.h"

namespace corvel {
namespace {

std::wstring Prefixed(const std::wstring& path) { return L"\\\\?\\" + path; }

double LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}


// The mount-point form of a reparse buffer (the SDK keeps it in a driver header).
struct MountPointBuffer {
  DWORD tag;
  WORD dataLength, reserved;
  WORD substituteOffset, substituteLength, printOffset, printLength;
  wchar_t path[1024];
};

bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  UniqueHandle h(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  bool ok = false;
  if (h.IsValid()) {
    const std::wstring substitute = L"\\??\\" + target;
    MountPointBuffer b{};
    b.tag = IO_REPARSE_TAG_MOUNT_POINT;
    b.substituteLength = static_cast<WORD>(substitute.size() * 2);
    b.printOffset = static_cast<WORD>(b.substituteLength + 2);
    b.printLength = static_cast<WORD>(target.size() * 2);
    substitute.copy(b.path, substitute.size());
    target.copy(b.path + substitute.size() + 1, target.size());
    b.dataLength = static_cast<WORD>(8 + b.substituteLength + 2 + b.printLength + 2);
    DWORD got = 0;
    ok = DeviceIoControl(h.Get(), FSCTL_SET_REPARSE_POINT, &b, 8 + b.dataLength, nullptr, 0, &got, nullptr);
  }
  h.Close();
  const DWORD a = GetFileAttributesW(link.c_str());
  ok = ok && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
  if (!ok) RemoveDirectoryW(link.c_str());
  return ok;
}

bool MakeSymlink(const std::wstring& link, const std::wstring& target, bool folder) {
  const DWORD flags = (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2;  // unprivileged create
  if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), flags)) return false;
  const DWORD a = GetFileAttributesW(link.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

class CleanerOnFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    now_ = LocalNow();
  }

  std::wstring P(const std::wstring& rel) const { return base_ + L"\\" + rel; }
  void Folder(const std::wstring& rel) { CreateDirectoryW(Prefixed(P(rel)).c_str(), nullptr); }
  // A file whose content is its own name; `old` puts its last write 10 days back.
  void File(const std::wstring& rel, bool old, DWORD attributes = 0) {
    const std::wstring path = Prefixed(P(rel));
    UniqueHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(h.IsValid()) << Narrow(rel);
    const std::string content = Narrow(rel);
    DWORD put = 0;
    WriteFile(h.Get(), content.data(), static_cast<DWORD>(content.size()), &put, nullptr);
    if (old) {
      FILETIME ft;
      GetSystemTimeAsFileTime(&ft);
      ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
      t.QuadPart -= 10ull * 24 * 3600 * 10000000;
      ft = {t.LowPart, t.HighPart};
      SetFileTime(h.Get(), nullptr, nullptr, &ft);
    }
    h.Close();
    if (attributes) SetFileAttributesW(path.c_str(), attributes);
  }
  bool Exists(const std::wstring& rel) const {
    return GetFileAttributesW(Prefixed(P(rel)).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::string Content(const std::wstring& rel) const {
    UniqueHandle h(CreateFileW(Prefixed(P(rel)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h.IsValid()) return "<missing>";
    char buf[4096];
    DWORD got = 0;
    ReadFile(h.Get(), buf, sizeof buf, &got, nullptr);
    return std::string(buf, got);
  }

  testing::TempFolder temp_{L"corvel-cleaner-"};
  std::wstring base_ = temp_.Folder();
  double now_ = 0;
};

TEST_F(CleanerOnFiles, CanariesSurviveAndTargetsGo) {
  // Outside the cleaned folder, reachable only through links.
  Folder(L"outside");
  Folder(L"outside\\sub");
  File(L"outside\\doc.tmp", true);
  File(L"outside\\sub\\doc2.tmp", true);
  File(L"outside\\target.tmp", true);
  Folder(L"outside2");
  File(L"outside2\\other.tmp", true);
  File(L"parent.tmp", true);  // in the rule folder's parent

  Folder(L"clean");
  std::vector<std::wstring> canaries{L"clean\\keep.txt", L"clean\\new.tmp", L"clean\\sub\\new2.tmp",
                                     L"clean\\sub\\x.tmpx", L"outside\\doc.tmp", L"outside\\sub\\doc2.tmp",
                                     L"outside\\target.tmp", L"outside2\\other.tmp", L"parent.tmp"};
  std::vector<std::wstring> targets{L"clean\\a.tmp", L"clean\\sub\\b.TMP", L"clean\\sub\\deep\\c.tmp",
                                    L"clean\\ro.tmp", L"clean\\hs.tmp", L"clean\\zz.tmp"};
  Folder(L"clean\\sub");
  Folder(L"clean\\sub\\deep");
  Folder(L"clean\\e1");
  Folder(L"clean\\e1\\e2");
  File(L"clean\\keep.txt", true);
  File(L"clean\\new.tmp", false);
  File(L"clean\\sub\\new2.tmp", false);
  File(L"clean\\sub\\x.tmpx", true);
  File(L"clean\\hidden.dat", true, FILE_ATTRIBUTE_HIDDEN);
  File(L"clean\\system.dat", true, FILE_ATTRIBUTE_SYSTEM);
  File(L"clean\\a.tmp", true);
  File(L"clean\\sub\\b.TMP", true);
  File(L"clean\\sub\\deep\\c.tmp", true);
  File(L"clean\\ro.tmp", true, FILE_ATTRIBUTE_READONLY);
  File(L"clean\\hs.tmp", true, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  File(L"clean\\zlocked.tmp", true);
  File(L"clean\\zz.tmp", true);
  // A path far beyond MAX_PATH.
  const std::wstring l1(120, L'L'), l2(120, L'M');
  Folder(L"clean\\long");
  Folder(L"clean\\long\\" + l1);
  Folder(L"clean\\long\\" + l1 + L"\\" + l2);
  const std::wstring deep = L"clean\\long\\" + l1 + L"\\" + l2 + L"\\deep.tmp";
  File(deep, true);
  targets.push_back(deep);
  const std::wstring deepReadOnly = L"clean\\long\\" + l1 + L"\\" + l2 + L"\\ro.tmp";
  File(deepReadOnly, true, FILE_ATTRIBUTE_READONLY);
  targets.push_back(deepReadOnly);
  canaries.push_back(L"clean\\hidden.dat");
  canaries.push_back(L"clean\\system.dat");

  const bool junction = MakeJunction(P(L"clean\\j"), P(L"outside"));
  const bool dirLink = MakeSymlink(P(L"clean\\s"), P(L"outside2"), true);
  const bool fileLink = MakeSymlink(P(L"clean\\flink.tmp"), P(L"outside\\target.tmp"), false);
  if (!junction) std::printf("[  NOTE    ] this system creates no junctions: junction case not run\n");
  if (!dirLink) std::printf("[  NOTE    ] this system creates no folder symbolic links: that case not run\n");
  if (!fileLink) std::printf("[  NOTE    ] this system creates no file symbolic links: that case not run\n");

  Folder(L"clean2");
  File(L"clean2\\x.log", true);
  targets.push_back(L"clean2\\x.log");

  UniqueHandle lock(CreateFileW(P(L"clean\\zlocked.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock.IsValid());

  Win32FileSystem fs;
  CleanerEngine engine(fs);
  engine.StartRun();
  engine.RunRuleList({P(L"clean") + L"\\*.tmp /u /d7", P(L"clean2") + L"\\*.log"}, now_);
  lock.Close();

  for (const auto& c : canaries) {
    EXPECT_TRUE(Exists(c)) << "canary lost: " << Narrow(c);
    EXPECT_EQ(Content(c), Narrow(c)) << Narrow(c);
  }
  for (const auto& t : targets) EXPECT_FALSE(Exists(t)) << "target left: " << Narrow(t);
  EXPECT_TRUE(Exists(L"clean\\zlocked.tmp"));
  if (junction) EXPECT_TRUE(Exists(L"clean\\j"));
  if (dirLink) EXPECT_TRUE(Exists(L"clean\\s"));
  if (fileLink) EXPECT_TRUE(Exists(L"clean\\flink.tmp"));
  EXPECT_FALSE(Exists(L"clean\\e1"));
  EXPECT_FALSE(Exists(L"clean\\long"));
  EXPECT_TRUE(Exists(L"clean\\sub\\deep") == false);
  EXPECT_TRUE(Exists(L"clean\\sub"));
  EXPECT_TRUE(Exists(L"clean"));

  const std::vector<std::wstring>& log = engine.log();
  auto has = [&](const std::wstring& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
  EXPECT_TRUE(has(L"Access denied: " + P(L"clean\\zlocked.tmp")));
  EXPECT_TRUE(has(L"Deleted: " + P(L"clean\\zz.tmp")));
  EXPECT_TRUE(has(L"Deleted: " + P(deep)));
  EXPECT_TRUE(has(L"Deleted: " + P(L"clean2\\x.log")));
  EXPECT_EQ(engine.counters().files, static_cast<int>(targets.size()));
  std::uint64_t bytes = 0;
  for (const auto& t : targets) bytes += Narrow(t).size();
  EXPECT_EQ(engine.counters().bytes, bytes);
  for (const auto& line : log) std::printf("  %s\n", Narrow(line).c_str());
}

TEST_F(CleanerOnFiles, AdapterRefusesLinksAndFoldersForDeletion) {
  Folder(L"outside");
  File(L"outside\\f.txt", false);
  Folder(L"dir");
  Win32FileSystem fs;
  EXPECT_EQ(fs.Probe(P(L"dir")), FileSystem::Kind::Folder);
  EXPECT_EQ(fs.Probe(P(L"outside\\f.txt")), FileSystem::Kind::File);
  EXPECT_EQ(fs.Probe(P(L"nothing")), FileSystem::Kind::Missing);
  EXPECT_EQ(fs.Probe(P(L"out*")), FileSystem::Kind::Missing);
  EXPECT_FALSE(fs.RemoveFile(P(L"dir")));
  EXPECT_FALSE(fs.ShellDelete(P(L"dir")));
  EXPECT_FALSE(fs.ShellDelete(P(L"outside\\*")));
  EXPECT_TRUE(Exists(L"dir"));
  EXPECT_TRUE(Exists(L"outside\\f.txt"));
  if (MakeJunction(P(L"j"), P(L"outside"))) {
    EXPECT_EQ(fs.Probe(P(L"j")), FileSystem::Kind::FolderLink);
    EXPECT_FALSE(fs.RemoveFolder(P(L"j")));
    EXPECT_FALSE(fs.ShellDelete(P(L"j")));
    EXPECT_TRUE(Exists(L"j"));
  } else {
    std::printf("[  NOTE    ] this system creates no junctions: junction case not run\n");
  }
  std::vector<FileEntry> entries;
  EXPECT_FALSE(fs.List(P(L"nothing"), entries));
  EXPECT_TRUE(fs.List(P(L"dir"), entries));
  EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace corvel
