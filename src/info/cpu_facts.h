// The CPU page's rules: what the processor's identification data say (brand,
// vendor, maker, cores, caches, features), the clock normalisation and the
// texts of the frequency and the load. Portable: the identification
// instruction comes in as a function, so tests can feed recorded answers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace corvel {

struct CpuidRegs {
  std::uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};
// One execution of the identification instruction: leaf (eax) and sub-leaf (ecx).
using CpuidFunction = std::function<CpuidRegs(std::uint32_t leaf, std::uint32_t subleaf)>;

struct CpuFacts {
  std::wstring brand = L"Unknown";  // up to 48 characters, blanks around removed
  std::wstring vendor;              // 12 characters
  std::wstring maker = L"Unknown";
  int physicalCores = 0;            // 0 to 255
  // Cache sizes in KiB; 0 when the processor has no such cache or does not say.
  unsigned l1Code = 0, l1Data = 0, l2 = 0, l3 = 0;
  bool x64 = false, hyperThreading = false, mmx = false, ext3dNow = false;
};

// Reads everything through cpuid; a missing function (no instruction)
// gives the defaults above.
CpuFacts ReadCpuFacts(const CpuidFunction& cpuid);

// "GenuineIntel" -> "Intel", ...; any other vendor "Unknown".
std::wstring MakerName(std::wstring_view vendor);

// A measured frequency in whole MHz moved to the nearest usual step of its
// hundred (0, 20, 33, 50, 60, 66, 80, 90, 100; a tie goes up).
int NormalizeMhz(int mhz);

// MHz / 1000 with the pattern "0.00" and the separator given, + " GHZ".
std::wstring GhzText(double mhz, wchar_t decimalSeparator);
// The same for WMI's MaxClockSpeed text: ConvertError when it is no number
// (also when empty).
std::wstring MaxClockText(std::wstring_view answer, wchar_t decimalSeparator);

// The load answer of Win32_Processor.LoadPercentage: empty counts as "0".
struct CpuLoad {
  std::wstring text;  // the answer followed by " %"
  int percent = 0;
};
// Throws ConvertError "'<answer>' ist kein gültiger Integer-Wert" when the
// answer is not an integer.
CpuLoad ParseCpuLoad(std::wstring_view answer);

}  // namespace corvel
