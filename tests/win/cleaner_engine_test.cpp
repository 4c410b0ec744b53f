// The cleaning engine on real files in a fresh folder of the test prefix's
// temporary folder: every canary must survive with its content, every target
// must go. Nothing outside that folder is named by any rule.
#include "cleaner/engine.h"
#include "cleaner/filesystem_win.h"

#include <windows.h>
#include <winioctl.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
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
  const auto any = [](const FileSystem::FileFacts&) { return true; };
  EXPECT_EQ(fs.Probe(P(L"dir")), FileSystem::Kind::Folder);
  EXPECT_EQ(fs.Probe(P(L"outside\\f.txt")), FileSystem::Kind::File);
  EXPECT_EQ(fs.Probe(P(L"nothing")), FileSystem::Kind::Missing);
  EXPECT_EQ(fs.Probe(P(L"out*")), FileSystem::Kind::Missing);
  EXPECT_NE(fs.RemoveFile(base_, P(L"dir"), any), FileSystem::Outcome::Done);
  EXPECT_NE(fs.RemoveFile(base_, P(L"outside\\*"), any), FileSystem::Outcome::Done);
  EXPECT_NE(fs.RemoveFile(P(L"outside"), P(L"outside\\*"), any), FileSystem::Outcome::Done);
  EXPECT_NE(fs.RemoveFolder(base_, P(L"outside")), FileSystem::Outcome::Done) << "not empty";
  EXPECT_NE(fs.RemoveFolder(P(L"dir"), P(L"dir")), FileSystem::Outcome::Done) << "the tree itself";
  // A path that is not below the tree is never reached.
  EXPECT_EQ(fs.RemoveFile(P(L"dir"), P(L"outside\\f.txt"), any), FileSystem::Outcome::Missing);
  EXPECT_EQ(fs.RemoveFile(P(L"out"), P(L"outside\\f.txt"), any), FileSystem::Outcome::Missing);
  EXPECT_TRUE(Exists(L"dir"));
  EXPECT_TRUE(Exists(L"outside\\f.txt"));
  if (MakeJunction(P(L"j"), P(L"outside"))) {
    EXPECT_EQ(fs.Probe(P(L"j")), FileSystem::Kind::FolderLink);
    EXPECT_NE(fs.RemoveFolder(base_, P(L"j")), FileSystem::Outcome::Done);
    EXPECT_NE(fs.RemoveFile(base_, P(L"j"), any), FileSystem::Outcome::Done);
    EXPECT_NE(fs.RemoveFile(base_, P(L"j\\f.txt"), any), FileSystem::Outcome::Done);
    std::vector<FileEntry> entries;
    EXPECT_EQ(fs.List(base_, P(L"j"), entries), FileSystem::Listing::Missing) << "below the tree a link is no folder";
    EXPECT_TRUE(Exists(L"j"));
    EXPECT_TRUE(Exists(L"outside\\f.txt"));
  } else {
    std::printf("[  NOTE    ] this system creates no junctions: junction case not run\n");
  }
  std::vector<FileEntry> entries;
  EXPECT_NE(fs.List(P(L"nothing"), P(L"nothing"), entries), FileSystem::Listing::Listed);
  EXPECT_EQ(fs.List(P(L"dir"), P(L"dir"), entries), FileSystem::Listing::Listed);
  EXPECT_TRUE(entries.empty());
  // The handle's facts: size, and the time the age test reads.
  File(L"dir\\dated.tmp", true);
  std::optional<double> written;
  std::uint64_t size = 0;
  EXPECT_EQ(fs.RemoveFile(P(L"dir"), P(L"dir\\dated.tmp"), [&](const FileSystem::FileFacts& f) {
              written = f.written;
              size = f.size;
              return false;
            }),
            FileSystem::Outcome::Refused);
  ASSERT_TRUE(written.has_value());
  EXPECT_NEAR(*written, now_ - 10, 1.0 / 24);
  EXPECT_EQ(size, Narrow(L"dir\\dated.tmp").size());
  EXPECT_TRUE(Exists(L"dir\\dated.tmp"));
}

// Names that end in a blank or a dot are files of their own. Made through
// the extended form, each is listed, dated, measured, deleted and removed as
// it is named, never as the name Windows would make of it.
TEST_F(CleanerOnFiles, TrailingBlanksAndDotsNameTheirOwnFiles) {
  Folder(L"t");
  File(L"t\\x.lo ", true);  // only this one matches "x.lo?*"
  File(L"t\\x.lo", true);
  File(L"t\\y.", true);  // only this one matches "y?*"
  File(L"t\\y", true);
  Folder(L"t\\sub. ");
  Folder(L"t\\sub");
  File(L"t\\sub. \\a.tmp", true);  // old: goes
  File(L"t\\sub\\a.tmp", false);   // new: stays
  Folder(L"t\\e.");                // empty: removed
  Folder(L"t\\e");
  File(L"t\\e\\keep.txt", true);
  Win32FileSystem fs;
  CleanerEngine engine(fs);
  engine.StartRun();
  engine.RunRuleList({P(L"t") + L"\\x.lo?*", P(L"t") + L"\\y?*", P(L"t") + L"\\*.tmp /u /d7"}, now_);
  for (const auto& line : engine.log()) std::printf("  %s\n", Narrow(line).c_str());
  EXPECT_EQ(engine.log(), (std::vector<std::wstring>{L"Deleted: " + P(L"t\\x.lo "), L"Deleted: " + P(L"t\\y."),
                                                     L"Deleted: " + P(L"t\\sub. \\a.tmp")}));
  EXPECT_FALSE(Exists(L"t\\x.lo "));
  EXPECT_EQ(Content(L"t\\x.lo"), "t\\x.lo");
  EXPECT_FALSE(Exists(L"t\\y."));
  EXPECT_EQ(Content(L"t\\y"), "t\\y");
  EXPECT_EQ(Content(L"t\\sub\\a.tmp"), "t\\sub\\a.tmp");
  EXPECT_FALSE(Exists(L"t\\sub. ")) << "emptied, removed";
  EXPECT_FALSE(Exists(L"t\\e."));
  EXPECT_TRUE(Exists(L"t\\e\\keep.txt"));
  EXPECT_EQ(engine.counters().bytes, Narrow(L"t\\x.lo ").size() + Narrow(L"t\\y.").size() + Narrow(L"t\\sub. \\a.tmp").size());
}

// A 2,000-level chain on real files: walked to the bottom, its emptied
// levels removed, the levels above a kept file kept. The chain is built from
// the bottom up (each new level made at the top and the chain so far moved
// into it) and checked through handles level by level: under Wine every
// open of an existing path costs in proportion to the square of its depth.
TEST(CleanerOnRealChain, TwoThousandLevels) {
  using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                          ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
  const auto create = reinterpret_cast<NtCreateFileFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtCreateFile")));
  ASSERT_NE(create, nullptr);
  // Opens `name` in the folder `parent`.
  auto at = [&](HANDLE parent, const std::wstring& name, bool folder) {
    UNICODE_STRING text{static_cast<USHORT>(name.size() * 2), static_cast<USHORT>(name.size() * 2),
                        const_cast<wchar_t*>(name.c_str())};
    OBJECT_ATTRIBUTES oa;
    InitializeObjectAttributes(&oa, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE h = nullptr;
    const NTSTATUS st = create(&h, (folder ? FILE_LIST_DIRECTORY | FILE_TRAVERSE : FILE_READ_ATTRIBUTES) | SYNCHRONIZE | DELETE,
                               &oa, &io, nullptr, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                               FILE_SYNCHRONOUS_IO_NONALERT | (folder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE),
                               nullptr, 0);
    return UniqueHandle(st >= 0 ? h : nullptr);
  };
  constexpr int kLevels = 2000, kKept = 500;
  // On the sandbox drive, whose folder on the host is short: the host's
  // path of the deepest file must stay within what the host allows.
  const std::wstring root = L"S:\\c" + std::to_wstring(GetCurrentProcessId());
  const std::wstring top = root + L"\\a", next = root + L"\\b";
  ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(top.c_str(), nullptr));
  for (int level = kLevels; level >= 1; --level) {
    if (level < kLevels) {
      ASSERT_TRUE(CreateDirectoryW(next.c_str(), nullptr));
      ASSERT_TRUE(MoveFileW(top.c_str(), (next + L"\\a").c_str())) << "level " << level;
      ASSERT_TRUE(MoveFileW(next.c_str(), top.c_str())) << "level " << level;
    }
    if (level == 1 || level == 1000 || level == kLevels) testing::WriteBytes(top + L"\\f.tmp", "f");
    if (level == kKept) testing::WriteBytes(top + L"\\keep.txt", "keep");
  }
  std::wstring deepest = root;
  for (int level = 1; level <= kLevels; ++level) deepest += L"\\a";
  Win32FileSystem fs;
  CleanerEngine engine(fs);
  engine.StartRun();
  engine.RunRuleList({root + L"\\*.tmp /u"}, 46000.5);
  EXPECT_EQ(engine.log(), (std::vector<std::wstring>{L"Deleted: " + top + L"\\f.tmp",
                                                     L"Deleted: " + deepest.substr(0, root.size() + 2000) + L"\\f.tmp",
                                                     L"Deleted: " + deepest + L"\\f.tmp"}));
  EXPECT_EQ(engine.counters().files, 3);
  // Level by level from the top: the kept levels are there, the next is not.
  std::vector<UniqueHandle> chain;
  chain.push_back(UniqueHandle(CreateFileW(root.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
  ASSERT_TRUE(chain.back().IsValid());
  while (chain.size() <= kLevels) {
    UniqueHandle level = at(chain.back().Get(), L"a", true);
    if (!level.IsValid()) break;
    chain.push_back(std::move(level));
  }
  EXPECT_EQ(chain.size() - 1, static_cast<std::size_t>(kKept));
  UniqueHandle keep = at(chain.back().Get(), L"keep.txt", false);
  EXPECT_TRUE(keep.IsValid());
  // Cleaned up from the bottom, through the handles.
  const auto dispose = [](HANDLE h) {
    FILE_DISPOSITION_INFO d{TRUE};
    return SetFileInformationByHandle(h, FileDispositionInfo, &d, sizeof d) != 0;
  };
  if (keep.IsValid()) dispose(keep.Get());
  keep.Close();
  while (chain.size() > 1) {
    dispose(chain.back().Get());
    chain.pop_back();
  }
  chain.clear();
  EXPECT_TRUE(RemoveDirectoryW(root.c_str()));
}

// Where the system makes junctions: a folder of the tree is swapped for a
// junction to another folder between the listing and the delete. Nothing
// outside the tree goes.
TEST_F(CleanerOnFiles, JunctionSwappedInBeforeTheDeleteLeadsNowhere) {
  class Swapping : public Win32FileSystem {
   public:
    std::wstring at;
    std::function<void()> before;
    Outcome RemoveFile(const std::wstring& tree, const std::wstring& path, const Allow& allow) override {
      if (before && path == at) std::exchange(before, nullptr)();
      return Win32FileSystem::RemoveFile(tree, path, allow);
    }
  };
  Folder(L"outside");
  File(L"outside\\a.tmp", true);
  Folder(L"tree");
  Folder(L"tree\\sub");
  File(L"tree\\sub\\a.tmp", true);
  File(L"tree\\first.tmp", true);
  bool junction = false;
  Swapping fs;
  fs.at = P(L"tree\\sub\\a.tmp");  // listed, not yet deleted
  fs.before = [&] {
    MoveFileW(Prefixed(P(L"tree\\sub")).c_str(), Prefixed(P(L"moved")).c_str());
    junction = MakeJunction(P(L"tree\\sub"), P(L"outside"));
  };
  CleanerEngine engine(fs);
  engine.StartRun();
  engine.RunRuleList({P(L"tree") + L"\\*.tmp /u"}, now_);
  if (!junction) {
    std::printf("[  NOTE    ] this system creates no junctions: swap case not run\n");
    return;
  }
  EXPECT_EQ(Content(L"outside\\a.tmp"), "outside\\a.tmp");
  EXPECT_TRUE(Exists(L"tree\\sub")) << "the junction stays";
}

}  // namespace
}  // namespace corvel
