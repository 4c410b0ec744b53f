// WMI fill benchmark, under Wine's own WMI. Two tables:
//  1. The main window's refresh as it is built today, page by page: ExecQuery
//     calls and time of RefreshActivePage.
//  2. Each information page's WMI values (class, property), read the way of
//     one query per value and the way of one answer per class within a fill:
//     ExecQuery calls, time, and whether both ways gave the same texts.
// Times are medians of --runs runs (default 5). A figure, not a test: the
// exit code says only whether it could measure.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "win/codepage_win.h"
#include "app/sysinfo_window.h"
#include "app/system_readings.h"
#include "info/wmi_query.h"
#include "info/wmi_win.h"
#include "win/dialogs_win.h"
#include "win/shell_win.h"

using namespace corvel;

namespace {

class CountingWmi : public Wmi {
 public:
  explicit CountingWmi(Wmi& real) : real_(real) {}
  WmiAnswer SelectAll(const std::wstring& className) override {
    ++count;
    return real_.SelectAll(className);
  }
  int count = 0;

 private:
  Wmi& real_;
};

class DiscardOutputs : public WmiOutputs {
 public:
  std::vector<std::wstring> log;
  MemoryModuleTable table;
  void SetAdapterLabel(AdapterLabel, const std::wstring& text) override { log.push_back(text); }
  void SetAdapterStatus(bool ok) override { log.push_back(ok ? L"ok" : L"error"); }
  MemoryModuleTable& ModuleTable() override { return table; }
};

double NowMs() {
  static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Pair { const wchar_t *cls, *property; };
struct PageValues { const wchar_t* page; std::vector<Pair> pairs; };

// The WMI values each information page shows, in the order of the page.
std::vector<PageValues> PageLists() {
  const wchar_t* video = L"Win32_VideoController";
  const wchar_t* cpu = L"Win32_Processor";
  const wchar_t* bios = L"Win32_BIOS";
  const wchar_t* board = L"Win32_BaseBoard";
  const wchar_t* memory = L"Win32_PhysicalMemory";
  return {
      {L"System", {{L"Win32_ComputerSystem", L"PCSystemType"}, {video, L"Description"}}},
      {L"CPU", {{cpu, L"LoadPercentage"}, {cpu, L"CurrentVoltage"}, {cpu, L"SocketDesignation"},
                {cpu, L"ProcessorId"}, {cpu, L"Role"}, {cpu, L"MaxClockSpeed"}}},
      {L"Network", {{L"Win32_NetworkAdapter", L"AdapterType"}}},
      {L"Display", {{video, L"AdapterRAM"}, {video, L"PNPDeviceID"}, {video, L"Name"}, {video, L"MaxRefreshRate"},
                    {video, L"VideoProcessor"}, {video, L"DriverVersion"}, {video, L"Status"}}},
      {L"APM/Sound", {{L"Win32_SoundDevice", L"ProductName"}, {L"Win32_SoundDevice", L"Description"},
                      {L"Win32_SoundDevice", L"Manufacturer"}, {L"Win32_SoundDevice", L"Status"}}},
      {L"Bios", {{bios, L"ReleaseDate"}, {bios, L"CurrentLanguage"}, {bios, L"Manufacturer"}, {bios, L"Name"},
                 {bios, L"PrimaryBIOS"}, {bios, L"SerialNumber"}, {bios, L"SMBIOSBIOSVersion"},
                 {bios, L"SMBIOSMajorVersion"}, {bios, L"SMBIOSMinorVersion"}, {bios, L"SMBIOSPresent"},
                 {bios, L"Status"}, {bios, L"Version"}, {bios, L"BuildNumber"}}},
      {L"Mainboard", {{board, L"Description"}, {board, L"Manufacturer"}, {board, L"Product"}, {board, L"Version"},
                      {board, L"Model"}, {board, L"Name"}, {board, L"HostingBoard"}, {board, L"SerialNumber"},
                      {board, L"PoweredOn"}, {board, L"Tag"},
                      {L"Win32_MotherboardDevice", L"PrimaryBusType"}, {L"Win32_MotherboardDevice", L"Status"},
                      {memory, L"Tag"}, {memory, L"Manufacturer"}, {memory, L"BankLabel"}, {memory, L"DeviceLocator"},
                      {memory, L"Capacity"}, {memory, L"Speed"}, {memory, L"TotalWidth"}, {memory, L"FormFactor"}}},
  };
}

struct Run {
  int queries = 0;
  double ms = 0;
  std::vector<std::wstring> texts;
  std::vector<std::wstring> effects;
  MemoryModuleTable table;
};

Run ReadPage(Wmi& real, const PageValues& page, bool oneFill) {
  CountingWmi wmi(real);
  DiscardOutputs outputs;
  WmiQueryService service(wmi, outputs);
  Run run;
  const double start = NowMs();
  {
    std::optional<WmiQueryService::Fill> fill;
    if (oneFill) fill.emplace(service);
    for (const Pair& p : page.pairs) run.texts.push_back(service.WmiQuery(p.cls, p.property));
  }
  run.ms = NowMs() - start;
  run.queries = wmi.count;
  run.effects = outputs.log;
  run.table = outputs.table;
  return run;
}

void RefreshTable(Wmi& real, int runs) {
  Win32Dialogs dialogs;
  Win32Shell shell;
  WindowsCodePage codePage;
  CountingWmi wmi(real);
  SystemReadings system;
  TFormSysInfo main(system.With(dialogs, shell, codePage, wmi, 6));
  main.Create();
  HWND tabs = FindWindowExW(main.hwnd(), nullptr, WC_TABCONTROLW, nullptr);
  std::wprintf(L"RefreshActivePage as built (page fills not counted where they do not exist yet)\n");
  std::wprintf(L"  %-10ls %9ls %10ls\n", L"page", L"ExecQuery", L"median ms");
  for (int i = 0; i < TFormSysInfo::kPageCount; ++i) {
    SendMessageW(tabs, TCM_SETCURSEL, i, 0);
    std::vector<double> times;
    int queries = 0;
    for (int r = 0; r < runs; ++r) {
      const int before = wmi.count;
      const double start = NowMs();
      main.Guarded([&] { main.RefreshActivePage(); });
      times.push_back(NowMs() - start);
      queries = wmi.count - before;
    }
    std::wprintf(L"  %-10ls %9d %10.1f\n", TFormSysInfo::kPages[i].caption, queries, Median(times));
  }
  DestroyWindow(main.hwnd());
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {}
}

bool PageTable(Wmi& real, int runs) {
  bool same = true;
  std::wprintf(L"\nPage values: one query per value against one answer per class within a fill\n");
  std::wprintf(L"  %-10ls %6ls %17ls %10ls %16ls %10ls %6ls %10ls\n", L"page", L"values", L"ExecQuery/value",
               L"median ms", L"ExecQuery/fill", L"median ms", L"ratio", L"same");
  int totalValues = 0, totalFill = 0;
  for (const PageValues& page : PageLists()) {
    std::vector<double> separateMs, fillMs;
    Run separate, filled;
    for (int r = 0; r < runs; ++r) {
      separate = ReadPage(real, page, false);
      filled = ReadPage(real, page, true);
      separateMs.push_back(separate.ms);
      fillMs.push_back(filled.ms);
    }
    const bool equal =
        separate.texts == filled.texts && separate.effects == filled.effects && separate.table == filled.table;
    same = same && equal;
    const double a = Median(separateMs), b = Median(fillMs);
    std::wprintf(L"  %-10ls %6zu %17d %10.1f %16d %10.1f %6.1f %10ls\n", page.page, page.pairs.size(),
                 separate.queries, a, filled.queries, b, b > 0 ? a / b : 0.0, equal ? L"yes" : L"NO");
    totalValues += separate.queries;
    totalFill += filled.queries;
  }
  std::wprintf(L"  all pages: %d queries one per value, %d with one answer per class\n", totalValues, totalFill);
  return same;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 5;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--runs") == 0 && i + 1 < argc) runs = std::max(1, _wtoi(argv[++i]));
    else {
      std::fwprintf(stderr, L"usage: wmi_fill_bench [--runs N]\n");
      return 2;
    }
  }
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::wprintf(L"COM could not be initialised\n");
    return 1;
  }
  Win32Wmi real;
  if (real.SelectAll(L"Win32_OperatingSystem").instances.empty()) {
    std::wprintf(L"WMI does not answer\n");
    CoUninitialize();
    return 1;
  }
  std::wprintf(L"wmi_fill: %d runs each\n", runs);
  RefreshTable(real, runs);
  const bool same = PageTable(real, runs);
  if (!same) std::wprintf(L"the two ways gave different texts or side effects\n");
  CoUninitialize();
  return same ? 0 : 1;
}
