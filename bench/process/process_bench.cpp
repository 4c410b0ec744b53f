// The Process page with about a hundred processes running (copies of a
// waiting helper that the bench starts and ends): the time of filling the
// list (one snapshot) and of the filter pass, the filter with one snapshot
// per pass against one per entry, the snapshots each takes, and whether both
// keep the same entries. Medians of --runs runs (default 5). A figure, not a
// test: the exit code says only whether it could measure.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "base/errors.h"
#include "tools/processes_win.h"
#include "win/folders.h"
#include "win/handles.h"

using namespace corvel;

namespace {

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The filter as designed: a fresh snapshot for every entry.
std::vector<std::wstring> FilterOneSnapshotPerEntry(const std::vector<std::wstring>& entries) {
  std::vector<std::wstring> kept;
  for (const std::wstring& entry : entries) {
    std::vector<ProcessEntry> snapshot;
    try {
      snapshot = TakeProcessSnapshot();
    } catch (const Error&) {
    }
    if (KeptProcess(entry, snapshot)) kept.push_back(entry);
  }
  return kept;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 5, helpers = 100;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], L"--runs") == 0) runs = std::max(1, _wtoi(argv[i + 1]));
    if (std::wcscmp(argv[i], L"--helpers") == 0) helpers = std::max(0, _wtoi(argv[i + 1]));
  }
  // The page lists names, not processes: a waiting helper under a name of its
  // own (no "keylog" in it, so no warning would be shown).
  const std::wstring helper = ProgramFolder() + L"process_bench_helper.exe";
  if (!CopyFileW((ProgramFolder() + L"keylog_helper.exe").c_str(), helper.c_str(), FALSE)) {
    std::wprintf(L"process: keylog_helper.exe is missing (build the windows preset)\n");
    return 1;
  }
  std::vector<UniqueHandle> started;
  for (int i = 0; i < helpers; ++i) {
    std::wstring command = L"\"" + helper + L"\"";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) break;
    CloseHandle(pi.hThread);
    started.emplace_back(pi.hProcess);
  }
  std::vector<double> fill, onePerPass, onePerEntry;
  long snapshotsPass = 0, snapshotsEntry = 0;
  std::size_t listed = 0;
  bool same = true;
  for (int r = 0; r < runs; ++r) {
    double start = NowMs();
    std::vector<std::wstring> names;
    for (const ProcessEntry& e : TakeProcessSnapshot()) names.push_back(e.exeFile);
    fill.push_back(NowMs() - start);
    listed = names.size();

    long before = ProcessSnapshotsTaken();
    start = NowMs();
    const std::vector<std::wstring> a = NonSystemProcesses(names);
    onePerPass.push_back(NowMs() - start);
    snapshotsPass = ProcessSnapshotsTaken() - before;

    before = ProcessSnapshotsTaken();
    start = NowMs();
    const std::vector<std::wstring> b = FilterOneSnapshotPerEntry(names);
    onePerEntry.push_back(NowMs() - start);
    snapshotsEntry = ProcessSnapshotsTaken() - before;
    same = same && a == b;
  }
  for (UniqueHandle& h : started) TerminateProcess(h.Get(), 0);
  for (UniqueHandle& h : started) WaitForSingleObject(h.Get(), 5000);
  DeleteFileW(helper.c_str());

  std::wprintf(L"processes running: %zu (%zu helpers started)\n", listed, started.size());
  std::wprintf(L"  %-34ls %10ls %10ls\n", L"", L"median ms", L"snapshots");
  std::wprintf(L"  %-34ls %10.1f %10d\n", L"FillProcessList (one snapshot)", Median(fill), 1);
  std::wprintf(L"  %-34ls %10.1f %10ld\n", L"filter, one snapshot per pass", Median(onePerPass), snapshotsPass);
  std::wprintf(L"  %-34ls %10.1f %10ld\n", L"filter, one snapshot per entry", Median(onePerEntry), snapshotsEntry);
  const double ratio = Median(onePerPass) > 0 ? Median(onePerEntry) / Median(onePerPass) : 0;
  std::wprintf(L"  per entry / per pass: %.2f; both keep the same entries: %ls\n", ratio, same ? L"yes" : L"NO");
  return same ? 0 : 1;
}
