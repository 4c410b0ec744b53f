#include <gtest/gtest.h>

#include <utility>

#include "base/errors.h"
#include "base/text.h"
#include "doubles/table_wmi.h"
#include "info/wmi_query.h"

namespace corvel {
namespace {

using Props = std::vector<std::pair<std::wstring, WmiValue>>;

WmiInstance Instance(const Props& props) {
  WmiInstance i;
  for (const auto& [name, value] : props) i[name] = value;
  return i;
}

WmiValue S(const wchar_t* s) { return WmiValue::Str(s); }

class WmiQueryTest : public ::testing::Test {
 protected:
  TableWmi wmi;
  RecordingWmiOutputs outputs;
  WmiQueryService service{wmi, outputs};

  void Add(const std::wstring& cls, const Props& props) { wmi.classes[cls].instances.push_back(Instance(props)); }
  std::wstring Q(const std::wstring& cls, const std::wstring& prop) { return service.WmiQuery(cls, prop); }

  WmiInstance Adapter(const wchar_t* name, WmiValue type, WmiValue enabled, WmiValue code) {
    return Instance({{L"ProductName", S(name)},
                     {L"AdapterType", type},
                     {L"MACAddress", S((std::wstring(name) + L"-mac").c_str())},
                     {L"Manufacturer", S((std::wstring(name) + L"-maker").c_str())},
                     {L"NetEnabled", enabled},
                     {L"ConfigManagerErrorCode", code},
                     {L"Name", S(name)}});
  }
  void ThreeAdapters(WmiValue thirdCode = WmiValue::U32(0)) {
    auto& list = wmi.classes[L"Win32_NetworkAdapter"].instances;
    list = {Adapter(L"one", S(L"Ethernet 802.3"), WmiValue::Bool(true), WmiValue::U32(22)),
            Adapter(L"two", S(L"Ethernet 802.3"), WmiValue::Bool(false), WmiValue::U32(0)),
            Adapter(L"three", S(L"Ethernet 802.3"), WmiValue::Bool(true), thirdCode)};
  }
  WmiInstance Module(int n, WmiValue capacity, WmiValue formFactor) {
    const std::wstring k = std::to_wstring(n);
    return Instance({{L"Tag", S((L"Physical Memory " + k).c_str())},
                     {L"Manufacturer", S((L"maker" + k).c_str())},
                     {L"BankLabel", S((L"BANK " + k).c_str())},
                     {L"DeviceLocator", S((L"DIMM" + k).c_str())},
                     {L"Capacity", capacity},
                     {L"Speed", WmiValue::U32(1600 + n)},
                     {L"TotalWidth", WmiValue::U16(64)},
                     {L"FormFactor", formFactor}});
  }
};

TEST(WmiValueText, ConvertsAsTheVariantArrives) {
  struct Case { WmiValue value; const wchar_t* text; };
  const Case cases[] = {
      {WmiValue::U32(0), L"0"},
      {WmiValue::U32(2147483647u), L"2147483647"},
      {WmiValue::U32(2147483648u), L"-2147483648"},
      {WmiValue::U32(4294967295u), L"-1"},
      {WmiValue::Int(WmiType::SInt32, -5), L"-5"},
      {WmiValue::U16(65535), L"65535"},
      {WmiValue::Int(WmiType::UInt8, 200), L"200"},
      {WmiValue::U64(4294967296ull), L"4294967296"},
      {WmiValue::U64(18446744073709551615ull), L"18446744073709551615"},
      {WmiValue::Text(WmiType::SInt64, L"-9000000000"), L"-9000000000"},
      {WmiValue::Text(WmiType::DateTime, L"20240131000000.000000+060"), L"20240131000000.000000+060"},
      {WmiValue::Bool(true), L"True"},
      {WmiValue::Bool(false), L"False"},
      {S(L" text kept "), L" text kept "},
      {WmiValue::Real(WmiType::Real64, 2.5), L"2.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(WmiValueText(c.value), c.text) << Narrow(c.text);
  EXPECT_EQ(WmiValueText(WmiValue::Real(WmiType::Real32, 2.5), L','), L"2,5");
  for (WmiType t : {WmiType::Array, WmiType::Object, WmiType::Null})
    EXPECT_THROW(WmiValueText(WmiValue::Of(t)), Error) << static_cast<int>(t);
}

TEST(FormFactorName, TableAndUnknown) {
  const std::pair<int, const wchar_t*> cases[] = {
      {2, L"SIP"},     {3, L"DIP"},      {7, L"SIMM"},     {8, L"DIMM"},     {11, L"RIMM"},
      {12, L"SODIMM"}, {13, L"SRIMM"},   {14, L"SMD"},     {15, L"SSMP"},    {0, L"Unknown"},
      {1, L"Unknown"}, {4, L"Unknown"},  {9, L"Unknown"},  {10, L"Unknown"}, {16, L"Unknown"},
      {-1, L"Unknown"},
  };
  for (const auto& [n, name] : cases) EXPECT_STREQ(FormFactorName(n), name) << n;
}

TEST_F(WmiQueryTest, TheLastInstanceWins) {
  Add(L"Win32_VideoController", {{L"Name", S(L"first card")}, {L"AdapterRAM", WmiValue::U32(1u << 31)}});
  Add(L"Win32_VideoController", {{L"Name", S(L"second card")}, {L"AdapterRAM", WmiValue::U32(1u << 30)}});
  EXPECT_EQ(Q(L"Win32_VideoController", L"Name"), L"second card");
  EXPECT_EQ(Q(L"Win32_VideoController", L"AdapterRAM"), L"1073741824");
  EXPECT_EQ(Q(L"Win32_VideoController", L"name"), L"second card") << "property names ignore case";
  EXPECT_EQ(wmi.queries.size(), 3u) << "outside a fill every call asks afresh";
}

TEST_F(WmiQueryTest, NullOnTheLastInstanceGivesEmpty) {
  Add(L"Win32_SoundDevice", {{L"Status", S(L"OK")}, {L"Manufacturer", WmiValue::Null()}});
  Add(L"Win32_SoundDevice", {{L"Status", WmiValue::Null()}, {L"Manufacturer", S(L"maker")}});
  EXPECT_EQ(Q(L"Win32_SoundDevice", L"Status"), L"");
  EXPECT_EQ(Q(L"Win32_SoundDevice", L"Manufacturer"), L"maker") << "a null before the last one does not matter";
}

TEST_F(WmiQueryTest, FailuresGiveEmptySilently) {
  wmi.classes[L"Win32_MotherboardDevice"] = {};  // no instances
  Add(L"Win32_BIOS", {{L"Name", S(L"bios")}, {L"BiosCharacteristics", WmiValue::Of(WmiType::Array)}});
  EXPECT_EQ(Q(L"Win32_MotherboardDevice", L"Status"), L"");
  EXPECT_EQ(Q(L"Win32_NoSuchClass", L"Name"), L"");
  EXPECT_EQ(Q(L"Win32_BIOS", L"NoSuchProperty"), L"");
  EXPECT_EQ(Q(L"Win32_BIOS", L"BiosCharacteristics"), L"") << "an array has no text";
  EXPECT_TRUE(outputs.log.empty());
}

TEST_F(WmiQueryTest, AnErrorMidWalkDiscardsTheResultFound) {
  Add(L"Win32_Processor", {{L"Role", S(L"CPU")}});
  Add(L"Win32_Processor", {{L"Role", WmiValue::Of(WmiType::Array)}});
  Add(L"Win32_Processor", {{L"Role", S(L"CPU")}});
  EXPECT_EQ(Q(L"Win32_Processor", L"Role"), L"");
  // An enumeration that breaks off after delivering instances.
  wmi.classes[L"Win32_BaseBoard"] = {{Instance({{L"Product", S(L"board")}})}, L"RPC-Server nicht verfügbar"};
  EXPECT_EQ(Q(L"Win32_BaseBoard", L"Product"), L"");
}

TEST_F(WmiQueryTest, AdapterDetailsShowTheLastQualifyingAdapter) {
  ThreeAdapters();
  EXPECT_EQ(Q(L"Win32_NetworkAdapter", L"AdapterType"), L"Ethernet 802.3");
  const std::vector<std::wstring> expected = {
      L"Adapter=one",   L"Transmit=Ethernet 802.3", L"Recieve=one-mac",   L"ATypt=one-maker",   L"Status=error",
      L"Adapter=three", L"Transmit=Ethernet 802.3", L"Recieve=three-mac", L"ATypt=three-maker", L"Status=ok"};
  EXPECT_EQ(outputs.log, expected);
}

TEST_F(WmiQueryTest, AdapterStatusKeepsThePreviousCodeWhenTheLastIsNull) {
  ThreeAdapters(WmiValue::Null());
  Q(L"Win32_NetworkAdapter", L"AdapterType");
  EXPECT_EQ(outputs.log.back(), L"Status=error") << "the first adapter's code 22 stays";
  outputs.log.clear();
  // A new call starts with code 0 again.
  auto& list = wmi.classes[L"Win32_NetworkAdapter"].instances;
  list.erase(list.begin());
  Q(L"Win32_NetworkAdapter", L"AdapterType");
  EXPECT_EQ(outputs.log.back(), L"Status=ok");
}

TEST_F(WmiQueryTest, AdapterWorkNeedsTheTypePropertyAndEthernet) {
  ThreeAdapters();
  EXPECT_EQ(Q(L"Win32_NetworkAdapter", L"Name"), L"three");
  EXPECT_TRUE(outputs.log.empty()) << "only the AdapterType query remembers the type";
  auto& list = wmi.classes[L"Win32_NetworkAdapter"].instances;
  list[0][L"AdapterType"] = S(L"Ethernet 802.3 ");
  list[2][L"AdapterType"] = WmiValue::Null();
  EXPECT_EQ(Q(L"Win32_NetworkAdapter", L"AdapterType"), L"");
  EXPECT_TRUE(outputs.log.empty()) << "exact comparison; a null type does no work";
}

TEST_F(WmiQueryTest, AdapterClassWithoutNetEnabledWritesNothing) {
  ThreeAdapters();
  for (WmiInstance& i : wmi.classes[L"Win32_NetworkAdapter"].instances) i.erase(L"NetEnabled");
  EXPECT_EQ(Q(L"Win32_NetworkAdapter", L"AdapterType"), L"");
  EXPECT_TRUE(outputs.log.empty());
}

TEST_F(WmiQueryTest, SixModulesFillSlotsZeroToTwoAndTheSixthIntoThree) {
  auto& list = wmi.classes[L"Win32_PhysicalMemory"].instances;
  for (int n = 1; n <= 6; ++n)
    list.push_back(Module(n, WmiValue::U64(4294967296ull * n), WmiValue::U16(n == 6 ? 16 : 12)));
  for (const wchar_t* p : {L"Tag", L"Manufacturer", L"BankLabel", L"DeviceLocator", L"Capacity", L"Speed",
                           L"TotalWidth", L"FormFactor"})
    Q(L"Win32_PhysicalMemory", p);
  EXPECT_EQ(Q(L"Win32_PhysicalMemory", L"Capacity"), L"25769803776") << "the query's own result stays the raw text";
  struct Slot { const wchar_t *tag, *maker, *bank, *locator, *capacity, *speed, *width, *form; };
  const Slot slots[] = {
      {L"Physical Memory 1", L"maker1", L"BANK 1", L"DIMM1", L"4096 MB", L"1601 MHz", L"64 pins", L"SODIMM"},
      {L"Physical Memory 2", L"maker2", L"BANK 2", L"DIMM2", L"8192 MB", L"1602 MHz", L"64 pins", L"SODIMM"},
      {L"Physical Memory 3", L"maker3", L"BANK 3", L"DIMM3", L"12288 MB", L"1603 MHz", L"64 pins", L"SODIMM"},
      {L"Physical Memory 6", L"maker6", L"BANK 6", L"DIMM6", L"24576 MB", L"1606 MHz", L"64 pins", L"Unknown"},
  };
  for (int s = 0; s < kModuleSlots; ++s) {
    const auto& got = outputs.table.slots[s];
    const std::wstring want[] = {slots[s].tag,      slots[s].maker, slots[s].bank,  slots[s].locator,
                                 slots[s].capacity, slots[s].speed, slots[s].width, slots[s].form};
    for (int f = 0; f < kModuleFields; ++f) EXPECT_EQ(got[f], want[f]) << "slot " << s << " field " << f;
  }
}

TEST_F(WmiQueryTest, ModuleCapacityRoundsToWholeMebibytes) {
  struct Case { std::uint64_t bytes; const wchar_t* text; };
  const Case cases[] = {{4294967296ull, L"4096 MB"}, {0, L"0 MB"}, {1048576ull / 2, L"1 MB"},
                        {1048576ull / 2 - 1, L"0 MB"}, {1073741824ull + 1, L"1024 MB"}};
  for (const Case& c : cases) {
    wmi.classes[L"Win32_PhysicalMemory"].instances = {Module(1, WmiValue::U64(c.bytes), WmiValue::U16(8))};
    Q(L"Win32_PhysicalMemory", L"Capacity");
    EXPECT_EQ(outputs.table.At(0, ModuleField::Capacity), c.text) << c.bytes;
  }
}

TEST_F(WmiQueryTest, ANonNumericCapacityEndsTheWalk) {
  auto& list = wmi.classes[L"Win32_PhysicalMemory"].instances;
  list = {Module(1, WmiValue::U64(1073741824ull), WmiValue::U16(8)), Module(2, S(L"lots"), WmiValue::U16(8)),
          Module(3, WmiValue::U64(1073741824ull), WmiValue::U16(8))};
  EXPECT_EQ(Q(L"Win32_PhysicalMemory", L"Capacity"), L"");
  EXPECT_EQ(outputs.table.At(0, ModuleField::Capacity), L"1024 MB") << "what was written before the error stays";
  EXPECT_EQ(outputs.table.At(1, ModuleField::Capacity), L"");
  EXPECT_EQ(outputs.table.At(2, ModuleField::Capacity), L"") << "the rest of the walk is skipped";
  list[1][L"Capacity"] = WmiValue::U64(1);
  list[1][L"FormFactor"] = S(L"8x");
  EXPECT_EQ(Q(L"Win32_PhysicalMemory", L"FormFactor"), L"");
  EXPECT_EQ(outputs.table.At(0, ModuleField::FormFactor), L"DIMM");
  EXPECT_EQ(outputs.table.At(2, ModuleField::FormFactor), L"");
}

// The same calls, once each with its own query and once inside one fill:
// every result and every side effect must be the same.
TEST_F(WmiQueryTest, OneFillAsksEachClassOnceWithTheSameTextsAndSideEffects) {
  ThreeAdapters();
  auto& modules = wmi.classes[L"Win32_PhysicalMemory"].instances;
  for (int n = 1; n <= 5; ++n) modules.push_back(Module(n, WmiValue::U64(1073741824ull * n), WmiValue::U16(n + 6)));
  modules[3][L"FormFactor"] = S(L"not a number");
  Add(L"Win32_BaseBoard", {{L"Product", S(L"board")}, {L"PoweredOn", WmiValue::Bool(true)}});
  wmi.classes[L"Win32_MotherboardDevice"] = {};
  const std::pair<const wchar_t*, const wchar_t*> calls[] = {
      {L"Win32_OperatingSystem", L"OSArchitecture"},
      {L"Win32_BaseBoard", L"Product"},
      {L"Win32_BaseBoard", L"PoweredOn"},
      {L"Win32_BaseBoard", L"Missing"},
      {L"Win32_MotherboardDevice", L"Status"},
      {L"Win32_PhysicalMemory", L"Tag"},
      {L"Win32_PhysicalMemory", L"Capacity"},
      {L"Win32_PhysicalMemory", L"FormFactor"},
      {L"Win32_PhysicalMemory", L"Speed"},
      {L"Win32_NetworkAdapter", L"AdapterType"},
      {L"Win32_NetworkAdapter", L"Name"},
      {L"Win32_NetworkAdapter", L"AdapterType"},
  };
  Add(L"Win32_OperatingSystem", {{L"OSArchitecture", S(L"64-Bit")}});

  std::vector<std::wstring> separate;
  for (const auto& [c, p] : calls) separate.push_back(Q(c, p));
  const std::vector<std::wstring> separateLog = outputs.log;
  const MemoryModuleTable separateTable = outputs.table;
  EXPECT_EQ(wmi.queries.size(), std::size(calls));

  outputs = {};
  wmi.queries.clear();
  std::vector<std::wstring> filled;
  {
    WmiQueryService::Fill fill(service);
    for (const auto& [c, p] : calls) filled.push_back(Q(c, p));
  }
  EXPECT_EQ(filled, separate);
  EXPECT_EQ(outputs.log, separateLog);
  EXPECT_EQ(outputs.table, separateTable);
  EXPECT_EQ(separate[1], L"board");
  EXPECT_EQ(separate[2], L"True");
  EXPECT_EQ(separate[7], L"") << "the fourth module's form factor fails";
  const std::vector<std::wstring> once = {L"Win32_OperatingSystem", L"Win32_BaseBoard", L"Win32_MotherboardDevice",
                                          L"Win32_PhysicalMemory", L"Win32_NetworkAdapter"};
  EXPECT_EQ(wmi.queries, once);

  Q(L"Win32_BaseBoard", L"Product");
  EXPECT_EQ(wmi.queries.size(), once.size() + 1) << "after the fill a call asks afresh";
}

TEST_F(WmiQueryTest, AFillSeesNoAnswerOfAnotherFill) {
  Add(L"Win32_Processor", {{L"LoadPercentage", WmiValue::U16(10)}});
  WmiQueryService::Fill outer(service);
  EXPECT_EQ(Q(L"Win32_Processor", L"LoadPercentage"), L"10");
  wmi.classes[L"Win32_Processor"].instances[0][L"LoadPercentage"] = WmiValue::U16(55);
  {
    WmiQueryService::Fill inner(service);
    EXPECT_EQ(Q(L"Win32_Processor", L"LoadPercentage"), L"55") << "a fill entered inside another asks afresh";
  }
  EXPECT_EQ(Q(L"Win32_Processor", L"LoadPercentage"), L"10") << "the outer fill keeps its answer";
  EXPECT_EQ(wmi.queries.size(), 2u);
}

}  // namespace
}  // namespace corvel
