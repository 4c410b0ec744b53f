// 20,000 files in 2,000 folders on five levels, cleaned by one "*.* /u" rule:
// 1. in memory: the engine against the table walk (time, folder removals);
// 2. on the sandbox drive S: under this system: the real engine. Its time is
//    also written to T:\cleaner_bench.txt for native.sh, which times rm -rf
//    of the same tree on the host.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "cleaner/engine.h"
#include "cleaner/filesystem_win.h"
#include "unit/cleaner_fake_fs.h"
#include "unit/cleaner_table_reference.h"

using namespace corvel;

namespace {

// Folders relative to the root: 10, 40, 160, 640 and 1150 on the five levels.
std::vector<std::wstring> TreeFolders() {
  std::vector<std::wstring> all, level{L""};
  const int fanout[] = {10, 4, 4, 4};
  for (int f : fanout) {
    std::vector<std::wstring> next;
    for (const auto& p : level)
      for (int i = 0; i < f; ++i) next.push_back(p + L"\\d" + std::to_wstring(i));
    all.insert(all.end(), next.begin(), next.end());
    level = next;
  }
  for (int i = 0; i < 1150; ++i) all.push_back(level[i % level.size()] + L"\\e" + std::to_wstring(i / level.size()));
  return all;
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> folders = TreeFolders();
  const double now = 46000.5;
  const std::vector<std::wstring> rule{L"C:\\R\\*.* /u"};

  fake::FakeFileSystem base;
  base.AddFolder(L"C:\\R");
  for (const auto& f : folders) {
    base.AddFolder(L"C:\\R" + f);
    for (int i = 0; i < 10; ++i) base.AddFile(L"C:\\R" + f + L"\\f" + std::to_wstring(i) + L".tmp", 10);
  }
  fake::FakeFileSystem a = base, b = base;
  auto t0 = std::chrono::steady_clock::now();
  CleanerEngine engine(a);
  engine.RunRuleList(rule, now);
  const double engineTime = Seconds(t0);
  t0 = std::chrono::steady_clock::now();
  fake::TableReference table(b, now);
  table.Run(rule);
  const double tableTime = Seconds(t0);
  std::printf("in memory, %zu folders, %d files:\n", folders.size(), engine.counters().files);
  std::printf("  engine      %8.3f s, %lld RemoveDirectoryW attempts, %zu entries left\n", engineTime,
              a.removeAttempts, a.Paths().size());
  std::printf("  table walk  %8.3f s, %lld RemoveDirectoryW attempts, %zu entries left\n", tableTime,
              b.removeAttempts, b.Paths().size());
  std::printf("  ratio table/engine: time %.1f, attempts %.1f\n", tableTime / engineTime,
              static_cast<double>(b.removeAttempts) / static_cast<double>(a.removeAttempts));

  if (argc > 1 && std::wstring(argv[1]) == L"--memory-only") return 0;
  const std::wstring root = L"S:\\cleaner-bench-" + std::to_wstring(GetCurrentProcessId());
  if (!CreateDirectoryW(root.c_str(), nullptr)) {
    std::printf("cannot create %s\n", Narrow(root).c_str());
    return 1;
  }
  for (const auto& f : folders) {
    CreateDirectoryW((root + f).c_str(), nullptr);
    for (int i = 0; i < 10; ++i) {
      HANDLE h = CreateFileW((root + f + L"\\f" + std::to_wstring(i) + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      DWORD put = 0;
      WriteFile(h, "0123456789", 10, &put, nullptr);
      CloseHandle(h);
    }
  }
  Win32FileSystem fs;
  CleanerEngine real(fs);
  t0 = std::chrono::steady_clock::now();
  real.RunRuleList({root + L"\\*.* /u"}, now);
  const double realTime = Seconds(t0);
  RemoveDirectoryW(root.c_str());
  std::printf("on S: under Wine: engine %.3f s, %d files deleted, folder left: %s\n", realTime,
              real.counters().files, GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES ? "no" : "yes");
  if (FILE* out = _wfopen(L"T:\\cleaner_bench.txt", L"w")) {
    std::fprintf(out, "%.6f\n", realTime);
    std::fclose(out);
  }
  return 0;
}
