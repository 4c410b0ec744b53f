#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "base/errors.h"
#include "base/text.h"
#include "info/cpu_facts.h"

namespace corvel {
namespace {

// Recorded answers of the identification instruction; unknown leaves answer zeros.
struct FakeCpu {
  std::map<std::pair<std::uint32_t, std::uint32_t>, CpuidRegs> leaves;
  CpuidFunction Function() const {
    return [this](std::uint32_t leaf, std::uint32_t sub) {
      auto it = leaves.find({leaf, sub});
      if (it == leaves.end()) it = leaves.find({leaf, 0xFFFFFFFFu});  // leaves without sub-leaves
      return it == leaves.end() ? CpuidRegs{} : it->second;
    };
  }
};

std::uint32_t Chars(const char* four) {
  std::uint32_t r = 0;
  for (int i = 0; i < 4 && four[i]; ++i) r |= static_cast<std::uint32_t>(static_cast<unsigned char>(four[i])) << (8 * i);
  return r;
}

void PutVendor(FakeCpu& cpu, std::uint32_t maxLeaf, const char* vendor) {
  cpu.leaves[{0, 0xFFFFFFFFu}] = {maxLeaf, Chars(vendor), Chars(vendor + 8), Chars(vendor + 4)};
}

void PutBrand(FakeCpu& cpu, std::uint32_t maxExtended, const char* brand48) {
  cpu.leaves[{0x80000000u, 0xFFFFFFFFu}] = {maxExtended, 0, 0, 0};
  char b[48] = {};
  for (int i = 0; i < 48 && brand48[i]; ++i) b[i] = brand48[i];
  for (int k = 0; k < 3; ++k)
    cpu.leaves[{0x80000002u + k, 0xFFFFFFFFu}] = {Chars(b + 16 * k), Chars(b + 16 * k + 4), Chars(b + 16 * k + 8),
                                                 Chars(b + 16 * k + 12)};
}

// Leaf 4 / 0x8000001D: type, level, and a geometry that makes `kib` KiB.
CpuidRegs CacheLeaf(unsigned type, unsigned level, unsigned kib, unsigned coresField = 0) {
  // 64-byte lines, 1 partition, 8 ways, sets = kib * 1024 / 512.
  const unsigned sets = kib * 1024 / 512;
  return {type | (level << 5) | (coresField << 26), (7u << 22) | 63u, sets - 1, 0};
}

FakeCpu IntelCore() {  // 4 cores, 2 threads each, L3 8 MiB
  FakeCpu cpu;
  PutVendor(cpu, 0x16, "GenuineIntel");
  PutBrand(cpu, 0x80000008u, "       Intel(R) Core(TM) i7-6700 CPU @ 3.40GHz");
  cpu.leaves[{1, 0xFFFFFFFFu}] = {0x506E3, 8u << 16, 0, (1u << 23) | (1u << 28)};
  cpu.leaves[{0x80000001u, 0xFFFFFFFFu}] = {0, 0, 1, 1u << 29};
  cpu.leaves[{4, 0}] = CacheLeaf(1, 1, 32, 3);
  cpu.leaves[{4, 1}] = CacheLeaf(2, 1, 32, 3);
  cpu.leaves[{4, 2}] = CacheLeaf(3, 2, 256, 3);
  cpu.leaves[{4, 3}] = CacheLeaf(3, 3, 8192, 3);
  cpu.leaves[{0xB, 0}] = {1, 2, 0 | (1u << 8), 0};
  cpu.leaves[{0xB, 1}] = {4, 8, 1 | (2u << 8), 0};
  return cpu;
}

FakeCpu OldAmd() {  // one core, AMD's own cache leaves, no L3
  FakeCpu cpu;
  PutVendor(cpu, 1, "AuthenticAMD");
  PutBrand(cpu, 0x80000008u, "AMD Athlon(tm) 64 Processor 3200+");
  cpu.leaves[{1, 0xFFFFFFFFu}] = {0xFC0, 0, 0, 1u << 23};
  cpu.leaves[{0x80000001u, 0xFFFFFFFFu}] = {0, 0, 0, (1u << 29) | (1u << 30)};
  cpu.leaves[{0x80000005u, 0xFFFFFFFFu}] = {0, 0, 64u << 24, 64u << 24};
  cpu.leaves[{0x80000006u, 0xFFFFFFFFu}] = {0, 0, 512u << 16, 0};
  cpu.leaves[{0x80000008u, 0xFFFFFFFFu}] = {0, 0, 0, 0};
  return cpu;
}

TEST(CpuFacts, IntelProcessor) {
  const FakeCpu cpu = IntelCore();
  const CpuFacts f = ReadCpuFacts(cpu.Function());
  EXPECT_EQ(f.vendor, L"GenuineIntel");
  EXPECT_EQ(f.maker, L"Intel");
  EXPECT_EQ(f.brand, L"Intel(R) Core(TM) i7-6700 CPU @ 3.40GHz");
  EXPECT_EQ(f.physicalCores, 4);
  EXPECT_EQ(f.l1Code, 32u);
  EXPECT_EQ(f.l1Data, 32u);
  EXPECT_EQ(f.l2, 256u);
  EXPECT_EQ(f.l3, 8192u);
  EXPECT_TRUE(f.x64);
  EXPECT_TRUE(f.hyperThreading);
  EXPECT_TRUE(f.mmx);
  EXPECT_FALSE(f.ext3dNow);
}

TEST(CpuFacts, IntelWithoutHyperThreadingAndWithoutTopologyLeaf) {
  FakeCpu cpu = IntelCore();
  PutVendor(cpu, 4, "GenuineIntel");                           // no leaf 0xB
  cpu.leaves[{1, 0xFFFFFFFFu}].ebx = 2u << 16;                  // 2 logical processors
  cpu.leaves[{4, 0}] = CacheLeaf(1, 1, 32, 1);                  // 2 cores
  cpu.leaves[{4, 3}] = {};
  const CpuFacts f = ReadCpuFacts(cpu.Function());
  EXPECT_EQ(f.physicalCores, 2);
  EXPECT_FALSE(f.hyperThreading);
  EXPECT_EQ(f.l3, 0u) << "no L3 cache shows 0";
}

TEST(CpuFacts, OldAmdProcessor) {
  const FakeCpu cpu = OldAmd();
  const CpuFacts f = ReadCpuFacts(cpu.Function());
  EXPECT_EQ(f.maker, L"AMD");
  EXPECT_EQ(f.brand, L"AMD Athlon(tm) 64 Processor 3200+");
  EXPECT_EQ(f.physicalCores, 1);
  EXPECT_EQ(f.l1Code, 64u);
  EXPECT_EQ(f.l1Data, 64u);
  EXPECT_EQ(f.l2, 512u);
  EXPECT_EQ(f.l3, 0u);
  EXPECT_TRUE(f.x64);
  EXPECT_TRUE(f.ext3dNow);
  EXPECT_FALSE(f.hyperThreading);
}

TEST(CpuFacts, ModernAmdProcessorWithTopologyLeaves) {  // 8 cores, 2 threads each
  FakeCpu cpu;
  PutVendor(cpu, 0xD, "AuthenticAMD");
  PutBrand(cpu, 0x80000021u, "AMD Ryzen 7 5800X 8-Core Processor              ");
  cpu.leaves[{1, 0xFFFFFFFFu}] = {0xA20F10, 16u << 16, 0, (1u << 23) | (1u << 28)};
  cpu.leaves[{0x80000001u, 0xFFFFFFFFu}] = {0, 0, 1u << 22, 1u << 29};
  cpu.leaves[{0x80000008u, 0xFFFFFFFFu}] = {0, 0, 15, 0};
  cpu.leaves[{0x8000001Eu, 0xFFFFFFFFu}] = {0, 1u << 8, 0, 0};
  cpu.leaves[{0x8000001Du, 0}] = CacheLeaf(1, 1, 32);
  cpu.leaves[{0x8000001Du, 1}] = CacheLeaf(2, 1, 32);
  cpu.leaves[{0x8000001Du, 2}] = CacheLeaf(3, 2, 512);
  cpu.leaves[{0x8000001Du, 3}] = CacheLeaf(3, 3, 32768);
  cpu.leaves[{0x8000001Du, 4}] = {};
  const CpuFacts f = ReadCpuFacts(cpu.Function());
  EXPECT_EQ(f.brand, L"AMD Ryzen 7 5800X 8-Core Processor");
  EXPECT_EQ(f.physicalCores, 8);
  EXPECT_TRUE(f.hyperThreading);
  EXPECT_EQ(f.l1Code, 32u);
  EXPECT_EQ(f.l1Data, 32u);
  EXPECT_EQ(f.l2, 512u);
  EXPECT_EQ(f.l3, 32768u);
  EXPECT_FALSE(f.ext3dNow);
}

TEST(CpuFacts, NoIdentificationInstruction) {
  const CpuFacts f = ReadCpuFacts(nullptr);
  EXPECT_EQ(f.brand, L"Unknown");
  EXPECT_EQ(f.maker, L"Unknown");
  EXPECT_EQ(f.vendor, L"");
  EXPECT_EQ(f.physicalCores, 0);
  EXPECT_FALSE(f.x64 || f.hyperThreading || f.mmx || f.ext3dNow);
}

TEST(CpuFacts, MakerNames) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"GenuineIntel", L"Intel"}, {L"AuthenticAMD", L"AMD"}, {L"CyrixInstead", L"Cyrix"},
      {L"CentaurHauls", L"Via"},   {L"GenuineTMx86", L"Transmeta"}, {L"HygonGenuine", L"Unknown"},
      {L"genuineintel", L"Unknown"}, {L"", L"Unknown"}};
  for (const auto& [vendor, maker] : cases) EXPECT_EQ(MakerName(vendor), maker) << Narrow(vendor);
}

TEST(CpuFacts, ClockNormalisation) {
  const std::pair<int, int> cases[] = {{2994, 2990}, {2999, 3000}, {2409, 2400}, {2410, 2420}, {1866, 1866},
                                       {3325, 3320}, {3330, 3333}, {3300, 3300}, {3345, 3350}, {3355, 3360},
                                       {3363, 3366}, {3373, 3380}, {3385, 3390}, {3395, 3400}, {3326, 3320}, {3327, 3333},
                                       {0, 0}, {99, 100}};
  for (const auto& [in, out] : cases) EXPECT_EQ(NormalizeMhz(in), out) << in;
}

TEST(CpuFacts, FrequencyTextsWithBothSeparators) {
  struct Case { double mhz; wchar_t sep; const wchar_t* text; };
  const Case cases[] = {{3400, L'.', L"3.40 GHZ"}, {3400, L',', L"3,40 GHZ"}, {3333, L'.', L"3.33 GHZ"},
                        {1866, L',', L"1,87 GHZ"}, {0, L'.', L"0.00 GHZ"}};
  for (const Case& c : cases) EXPECT_EQ(GhzText(c.mhz, c.sep), c.text) << c.mhz;
  EXPECT_EQ(MaxClockText(L"3400", L'.'), L"3.40 GHZ");
  EXPECT_EQ(MaxClockText(L"3400", L','), L"3,40 GHZ");
}

TEST(CpuFacts, MissingMaxClockIsTheFloatConversionError) {
  for (const wchar_t* answer : {L"", L"fast"}) {
    try {
      MaxClockText(answer, L'.');
      ADD_FAILURE() << "no error for " << Narrow(answer);
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.text(), L"'" + std::wstring(answer) + L"' ist kein gültiger Gleitkommawert");
    }
  }
}

TEST(CpuFacts, LoadAnswers) {
  struct Case { const wchar_t* answer; const wchar_t* text; int percent; };
  const Case cases[] = {{L"", L"0 %", 0}, {L"100", L"100 %", 100}, {L"7", L"7 %", 7}, {L" 12", L" 12 %", 12}};
  for (const Case& c : cases) {
    const CpuLoad load = ParseCpuLoad(c.answer);
    EXPECT_EQ(load.text, c.text);
    EXPECT_EQ(load.percent, c.percent);
  }
  try {
    ParseCpuLoad(L"busy");
    ADD_FAILURE();
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.text(), L"'busy' ist kein gültiger Integer-Wert");
  }
}

}  // namespace
}  // namespace corvel
