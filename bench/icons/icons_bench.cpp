// Every icon group of shell32.dll (the prefix's largest icon library) written
// into an empty folder on the sandbox drive S:, five times, each into a fresh
// folder holding only a copy of the library (the icons go next to their
// source). Prints time and groups per second of each run and the median;
// the median is also written to T:\icons_bench.txt for native.sh, which times
// `wrestool -x -t14` of the same file.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "icons/icon_extractor_win.h"

using namespace corvel;

namespace {

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + fd.cFileName).c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain() {
  wchar_t system[MAX_PATH];
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring library = std::wstring(system, n) + L"\\shell32.dll";
  const std::wstring base = L"S:\\icons-bench-" + std::to_wstring(GetCurrentProcessId());

  std::vector<double> times;
  std::size_t groups = 0, written = 0;
  unsigned long long bytes = 0;
  for (int run = 0; run < 5; ++run) {
    const std::wstring folder = base + L"-" + std::to_wstring(run);
    // Its own name: a library named like a module already loaded would be
    // answered with that module instead of the file.
    const std::wstring source = folder + L"\\bench-shell32.dll";
    if (!CreateDirectoryW(folder.c_str(), nullptr) || !CopyFileW(library.c_str(), source.c_str(), TRUE)) {
      std::printf("cannot prepare %s\n", Narrow(folder).c_str());
      return 1;
    }
    const auto t0 = std::chrono::steady_clock::now();
    const icons::ExtractResult result = icons::ExtractIconGroupsFromFile(source);
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    groups = result.groups.size();
    written = std::count_if(result.groups.begin(), result.groups.end(),
                            [](const icons::GroupOutcome& g) { return g.result == icons::GroupResult::Written; });
    bytes = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*.ico").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do bytes += fd.nFileSizeLow;
      while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    std::printf("run %d: %zu groups, %zu written, %.1f MB, %.3f s, %.0f groups/s\n", run + 1, groups, written,
                static_cast<double>(bytes) / 1e6, times.back(), static_cast<double>(groups) / times.back());
    RemoveFolder(folder);
    if (written != groups || groups == 0) {
      std::printf("not every group was written\n");
      return 1;
    }
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  std::printf("median: %.3f s for %zu groups, %.0f groups/s\n", median, groups, static_cast<double>(groups) / median);
  if (FILE* out = _wfopen(L"T:\\icons_bench.txt", L"w")) {
    std::fprintf(out, "%.6f %zu\n", median, groups);
    std::fclose(out);
  }
  return 0;
}
