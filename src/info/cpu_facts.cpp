#include "info/cpu_facts.h"

#include <algorithm>

#include "base/errors.h"
#include "base/number.h"
#include "base/text.h"

namespace corvel {

namespace {

constexpr std::uint32_t kExtended = 0x80000000u;

std::wstring RegisterText(std::initializer_list<std::uint32_t> regs) {
  std::wstring text;
  for (std::uint32_t r : regs)
    for (int i = 0; i < 4; ++i) {
      const auto c = static_cast<unsigned char>(r >> (8 * i));
      if (c == 0) return text;  // the text ends at its first NUL
      text.push_back(static_cast<wchar_t>(c));
    }
  return text;
}

bool Bit(std::uint32_t value, int bit) { return (value >> bit) & 1u; }
std::uint32_t Bits(std::uint32_t value, int low, int count) { return (value >> low) & ((1u << count) - 1u); }

// Intel's deterministic cache leaf (4); AMD's 0x8000001D has the same layout.
void ReadCacheLeaves(const CpuidFunction& cpuid, std::uint32_t leaf, CpuFacts& f) {
  for (std::uint32_t sub = 0; sub < 16; ++sub) {
    const CpuidRegs r = cpuid(leaf, sub);
    const std::uint32_t type = Bits(r.eax, 0, 5);
    if (type == 0) break;  // no more caches
    const std::uint32_t level = Bits(r.eax, 5, 3);
    const unsigned long long bytes = (Bits(r.ebx, 22, 10) + 1ull) * (Bits(r.ebx, 12, 10) + 1ull) *
                                     (Bits(r.ebx, 0, 12) + 1ull) * (r.ecx + 1ull);
    const auto kib = static_cast<unsigned>(bytes / 1024);
    if (level == 1 && type == 1) f.l1Data = kib;
    if (level == 1 && type == 2) f.l1Code = kib;
    if (level == 2) f.l2 = kib;
    if (level == 3) f.l3 = kib;
  }
}

}  // namespace

std::wstring MakerName(std::wstring_view vendor) {
  static const std::pair<const wchar_t*, const wchar_t*> kMakers[] = {
      {L"GenuineIntel", L"Intel"}, {L"AuthenticAMD", L"AMD"},     {L"CyrixInstead", L"Cyrix"},
      {L"CentaurHauls", L"Via"},   {L"GenuineTMx86", L"Transmeta"}};
  for (const auto& [id, name] : kMakers)
    if (vendor == id) return name;
  return L"Unknown";
}

CpuFacts ReadCpuFacts(const CpuidFunction& cpuid) {
  CpuFacts f;
  if (!cpuid) return f;
  const CpuidRegs r0 = cpuid(0, 0);
  const std::uint32_t maxLeaf = r0.eax;
  f.vendor = RegisterText({r0.ebx, r0.edx, r0.ecx});
  f.maker = MakerName(f.vendor);
  const bool intel = f.vendor == L"GenuineIntel", amd = f.vendor == L"AuthenticAMD";
  const std::uint32_t maxExtended = cpuid(kExtended, 0).eax;
  const bool hasExtended = maxExtended > kExtended && maxExtended < kExtended + 0x1000;

  CpuidRegs r1, e1;
  if (maxLeaf >= 1) r1 = cpuid(1, 0);
  if (hasExtended && maxExtended >= kExtended + 1) e1 = cpuid(kExtended + 1, 0);
  f.mmx = Bit(r1.edx, 23);
  f.x64 = Bit(e1.edx, 29);       // long mode
  f.ext3dNow = Bit(e1.edx, 30);  // the extended 3DNow! instructions

  if (hasExtended && maxExtended >= kExtended + 4) {
    CpuidRegs b[3];
    for (std::uint32_t i = 0; i < 3; ++i) b[i] = cpuid(kExtended + 2 + i, 0);
    const std::wstring brand = Trim(RegisterText({b[0].eax, b[0].ebx, b[0].ecx, b[0].edx, b[1].eax, b[1].ebx,
                                                  b[1].ecx, b[1].edx, b[2].eax, b[2].ebx, b[2].ecx, b[2].edx}));
    if (!brand.empty()) f.brand = brand;
  }

  // Threads per core and logical processors per package.
  unsigned threadsPerCore = 1, logical = Bit(r1.edx, 28) ? Bits(r1.ebx, 16, 8) : 1;
  if (logical == 0) logical = 1;
  unsigned cores = 0;
  if (intel && maxLeaf >= 0xB) {
    for (std::uint32_t sub = 0; sub < 8; ++sub) {
      const CpuidRegs t = cpuid(0xB, sub);
      const std::uint32_t levelType = Bits(t.ecx, 8, 8);
      if (levelType == 0) break;
      if (levelType == 1 && Bits(t.ebx, 0, 16) > 0) threadsPerCore = Bits(t.ebx, 0, 16);
      if (levelType == 2 && Bits(t.ebx, 0, 16) > 0) logical = Bits(t.ebx, 0, 16);
    }
    cores = logical / threadsPerCore;
  } else if (intel && maxLeaf >= 4) {
    cores = Bits(cpuid(4, 0).eax, 26, 6) + 1;
    threadsPerCore = std::max(1u, logical / cores);
  } else if (amd && hasExtended && maxExtended >= kExtended + 8) {
    logical = Bits(cpuid(kExtended + 8, 0).ecx, 0, 8) + 1;
    if (maxExtended >= kExtended + 0x1E && Bit(e1.ecx, 22))  // topology extensions
      threadsPerCore = Bits(cpuid(kExtended + 0x1E, 0).ebx, 8, 8) + 1;
    cores = logical / threadsPerCore;
  } else {
    cores = maxLeaf >= 1 ? 1 : 0;
  }
  f.physicalCores = static_cast<int>(std::min(cores, 255u));
  f.hyperThreading = threadsPerCore > 1;

  if (intel && maxLeaf >= 4) {
    ReadCacheLeaves(cpuid, 4, f);
  } else if (amd && maxExtended >= kExtended + 0x1D && Bit(e1.ecx, 22)) {
    ReadCacheLeaves(cpuid, kExtended + 0x1D, f);
  } else if (hasExtended && maxExtended >= kExtended + 5) {
    const CpuidRegs c5 = cpuid(kExtended + 5, 0);
    f.l1Data = Bits(c5.ecx, 24, 8);
    f.l1Code = Bits(c5.edx, 24, 8);
    if (maxExtended >= kExtended + 6) {
      const CpuidRegs c6 = cpuid(kExtended + 6, 0);
      f.l2 = Bits(c6.ecx, 16, 16);
      f.l3 = Bits(c6.edx, 18, 14) * 512;
    }
  }
  return f;
}

int NormalizeMhz(int mhz) {
  if (mhz <= 0) return mhz;
  static const int kSteps[] = {0, 20, 33, 50, 60, 66, 80, 90, 100};
  const int m = mhz % 100;
  int i = 1;
  while (i < 8 && m >= kSteps[i]) ++i;
  return m - kSteps[i - 1] < kSteps[i] - m ? mhz - m + kSteps[i - 1] : mhz - m + kSteps[i];
}

std::wstring GhzText(double mhz, wchar_t decimalSeparator) {
  return FormatFloat(L"0.00", mhz / 1000, decimalSeparator) + L" GHZ";
}

std::wstring MaxClockText(std::wstring_view answer, wchar_t decimalSeparator) {
  return GhzText(StrToFloat(answer, decimalSeparator), decimalSeparator);
}

CpuLoad ParseCpuLoad(std::wstring_view answer) {
  CpuLoad load;
  load.text = answer.empty() ? std::wstring(L"0") : std::wstring(answer);
  if (!TryStrToInt(load.text, load.percent))
    throw ConvertError(L"'" + load.text + L"' ist kein g\u00fcltiger Integer-Wert");
  load.text += L" %";
  return load;
}

}  // namespace corvel
