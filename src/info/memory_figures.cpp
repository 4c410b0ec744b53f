#include "info/memory_figures.h"

#include "base/errors.h"
#include "base/number.h"
#include "base/text.h"

namespace corvel {

namespace {

constexpr double kMebibyte = 1048576.0;

// Floating-point division as the run-time does it: x / 0 is a division by
// zero, 0 / 0 an invalid operation.
double Divide(double x, double y) {
  if (y == 0) {
    if (x == 0) throw FloatInvalidOperation();
    throw FloatDivideByZero();
  }
  return x / y;
}

int Percent(double part, double whole) { return static_cast<int>(RoundHalfEven(Divide(part, whole) * 100)); }

std::wstring Mb(double value) { return FormatFloat(L"0", value) + L" MB"; }

class Writer {
 public:
  explicit Writer(MemoryFigures& page) : page_(page) {}
  void Text(const wchar_t* control, std::wstring text) { page_.writes.push_back({control, std::move(text), 0, false}); }
  void Bar(const wchar_t* control, int position) { page_.writes.push_back({control, {}, position, true}); }

 private:
  MemoryFigures& page_;
};

}  // namespace

std::uint64_t TotalPhysicalMemory(MemorySource& source) {
  const std::optional<OsVersion> version = source.Version();
  if (!version) throw Error(L"Cannot get Windows version");
  if (version->nt && version->major > 4) return source.ExtendedTotal().value_or(0);
  return source.Status().totalPhys;
}

std::optional<std::wstring> MemoryFigures::Text(const std::wstring& control) const {
  std::optional<std::wstring> text;
  for (const PageWrite& w : writes)
    if (!w.bar && w.control == control) text = w.text;
  return text;
}

std::optional<int> MemoryFigures::Bar(const std::wstring& control) const {
  std::optional<int> position;
  for (const PageWrite& w : writes)
    if (w.bar && w.control == control) position = w.position;
  return position;
}

MemoryFigures MemoryPageFigures(const MemoryStatus& virtualStatus, std::uint64_t totalPhysBytes,
                             const MemoryStatus& status) {
  MemoryFigures page;
  Writer out(page);
  try {
    // Whole mebibytes for the total, fractions for the others.
    const std::uint64_t total = totalPhysBytes / 1048576;
    out.Text(L"LabelTotalPhysMem", Mb(static_cast<double>(total)));
    const double free = static_cast<double>(status.availPhys) / kMebibyte;
    out.Text(L"LabelFreePhys", Mb(free));
    const int p = Percent(free, static_cast<double>(total));
    out.Text(L"LabelPhys2", IntToStr(p) + L" %");
    out.Bar(L"ProgressBarFreeMem", p);

    const int load = static_cast<int>(status.memoryLoad);
    out.Text(L"LabelMemLoad", IntToStr(load) + L" %");
    out.Text(L"LabelMem2", Mb(static_cast<double>(total) - free));
    out.Bar(L"ProgressBarLoad", load);

    const std::uint64_t tv = virtualStatus.totalVirtual >> 20, fv = virtualStatus.availVirtual >> 20;
    out.Text(L"LabelTotalVMem", IntToStr(static_cast<long long>(tv)) + L" MB");
    out.Text(L"LabelFreeVMem", IntToStr(static_cast<long long>(fv)) + L" MB");
    const int v = Percent(static_cast<double>(fv), static_cast<double>(tv));
    out.Bar(L"ProgressBarVMem", v);
    out.Text(L"LabelVPercent", IntToStr(v) + L" %");

    const double tp = static_cast<double>(status.totalPageFile) / kMebibyte;
    out.Text(L"LabelTotalPMem", Mb(tp));
    const double fp = static_cast<double>(status.availPageFile) / kMebibyte;
    out.Text(L"LabelFreePageMem", Mb(fp));
    const int q = Percent(fp, tp);
    out.Bar(L"ProgressBarPMem", q);
    out.Text(L"LabelPPercent", IntToStr(q) + L" %");

    // A signed difference: an available figure above the total (the two are
    // read at slightly different moments) must not wrap round.
    out.Text(L"LabelSwapSize", IntToStr(static_cast<long long>(status.totalPageFile) -
                                         static_cast<long long>(status.availPageFile)));

    int u = 0;
    if (status.totalPageFile != 0)
      u = 100 - static_cast<int>(static_cast<double>(status.availPageFile) / static_cast<double>(status.totalPageFile) * 100);
    out.Text(L"LabelSwapUse", IntToStr(u) + L" %");
    out.Text(L"LabelSwap2", IntToStr(u) + L" %");
    out.Bar(L"ProgressBarSwap", u);
  } catch (const Error& e) {
    page.failure = e.text();
  }
  return page;
}

}  // namespace corvel
