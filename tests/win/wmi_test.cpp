// The COM adapter against Wine's own WMI, and WmiQuery over it compared with
// what Wine's wmic prints for the same property.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "base/text.h"
#include "doubles/table_wmi.h"
#include "info/wmi_query.h"
#include "info/wmi_win.h"
#include "win/support/wmic.h"

namespace corvel {
namespace {

using testing::WmicLast;

class RealWmi : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

  Win32Wmi wmi;
  RecordingWmiOutputs outputs;
};

const WmiValue* Find(const WmiInstance& i, const wchar_t* name) {
  const auto it = i.find(name);
  return it == i.end() ? nullptr : &it->second;
}

TEST_F(RealWmi, OperatingSystemAnswersItsArchitecture) {
  WmiAnswer a = wmi.SelectAll(L"Win32_OperatingSystem");
  EXPECT_FALSE(a.failure) << Narrow(a.failure.value_or(L""));
  ASSERT_EQ(a.instances.size(), 1u);
  const WmiValue* arch = Find(a.instances[0], L"OSArchitecture");
  ASSERT_TRUE(arch);
  EXPECT_EQ(arch->type, WmiType::String);
  EXPECT_EQ(arch->text, L"64-bit");
  EXPECT_FALSE(Find(a.instances[0], L"__CLASS")) << "system properties are not part of the answer";
}

TEST_F(RealWmi, ValuesKeepTheirWmiTypes) {
  WmiAnswer a = wmi.SelectAll(L"Win32_Processor");
  ASSERT_FALSE(a.instances.empty()) << Narrow(a.failure.value_or(L""));
  const WmiInstance& cpu = a.instances.back();
  ASSERT_TRUE(Find(cpu, L"MaxClockSpeed"));
  EXPECT_EQ(Find(cpu, L"MaxClockSpeed")->type, WmiType::UInt32);
  EXPECT_GT(Find(cpu, L"MaxClockSpeed")->integer, 0);
  ASSERT_TRUE(Find(cpu, L"Name"));
  EXPECT_EQ(Find(cpu, L"Name")->type, WmiType::String);
  EXPECT_FALSE(Find(cpu, L"Name")->text.empty());
  WmiAnswer os = wmi.SelectAll(L"Win32_OperatingSystem");
  ASSERT_EQ(os.instances.size(), 1u);
  ASSERT_TRUE(Find(os.instances[0], L"TotalVisibleMemorySize"));
  EXPECT_EQ(Find(os.instances[0], L"TotalVisibleMemorySize")->type, WmiType::UInt64);
  ASSERT_TRUE(Find(os.instances[0], L"LastBootUpTime"));
  const WmiValue& boot = *Find(os.instances[0], L"LastBootUpTime");
  EXPECT_EQ(boot.type, WmiType::DateTime);
  EXPECT_EQ(boot.text.size(), 25u) << Narrow(boot.text);
  EXPECT_EQ(boot.text.substr(14, 1), L".");
}

TEST_F(RealWmi, NetworkAdaptersComeInWmisOrder) {
  WmiAnswer a = wmi.SelectAll(L"Win32_NetworkAdapter");
  EXPECT_FALSE(a.failure);
  // How many adapters there are depends on the host; the page reads the last one.
  ASSERT_FALSE(a.instances.empty());
  WmiQueryService service(wmi, outputs);
  const WmiValue* last = Find(a.instances.back(), L"AdapterType");
  ASSERT_TRUE(last);
  bool ethernet = false;
  for (const WmiInstance& i : a.instances) {
    const WmiValue* type = Find(i, L"AdapterType");
    ethernet = ethernet || (type && !type->IsNull() && type->text == L"Ethernet 802.3");
  }
  if (ethernet && !Find(a.instances[0], L"NetEnabled")) {
    // Wine's adapter class lacks NetEnabled: the walk fails at the first
    // Ethernet adapter and writes nothing.
    EXPECT_EQ(service.WmiQuery(L"Win32_NetworkAdapter", L"AdapterType"), L"");
    EXPECT_TRUE(outputs.log.empty());
  } else {
    EXPECT_EQ(service.WmiQuery(L"Win32_NetworkAdapter", L"AdapterType"), last->IsNull() ? L"" : WmiValueText(*last));
  }
  EXPECT_EQ(service.WmiQuery(L"Win32_NetworkAdapter", L"Name"), WmiValueText(*Find(a.instances.back(), L"Name")));
}

TEST_F(RealWmi, AClassWithoutInstancesAndAnUnknownClass) {
  WmiAnswer none = wmi.SelectAll(L"Win32_MotherboardDevice");
  EXPECT_FALSE(none.failure) << Narrow(none.failure.value_or(L""));
  EXPECT_TRUE(none.instances.empty());
  WmiAnswer unknown = wmi.SelectAll(L"Win32_NoSuchClass");
  EXPECT_TRUE(unknown.instances.empty()) << "Wine answers an unknown class with nothing, not always a failure";
  WmiQueryService service(wmi, outputs);
  EXPECT_EQ(service.WmiQuery(L"Win32_MotherboardDevice", L"PrimaryBusType"), L"");
  EXPECT_EQ(service.WmiQuery(L"Win32_NoSuchClass", L"Name"), L"");
  EXPECT_EQ(service.WmiQuery(L"Win32_OperatingSystem", L"NoSuchProperty"), L"");
}

TEST_F(RealWmi, TextsAreThoseWmicPrints) {
  struct Pair { const wchar_t *cls, *alias, *property; };
  const Pair pairs[] = {
      {L"Win32_OperatingSystem", L"os", L"OSArchitecture"},
      {L"Win32_Processor", L"cpu", L"Name"},
      {L"Win32_Processor", L"cpu", L"MaxClockSpeed"},
      {L"Win32_BIOS", L"bios", L"Manufacturer"},
      {L"Win32_BIOS", L"bios", L"ReleaseDate"},
      {L"Win32_BaseBoard", L"baseboard", L"Product"},
      {L"Win32_VideoController", L"path Win32_VideoController", L"AdapterRAM"},
      {L"Win32_PhysicalMemory", L"memorychip", L"Capacity"},
  };
  WmiQueryService service(wmi, outputs);
  WmiQueryService::Fill fill(service);
  for (const Pair& p : pairs) {
    std::optional<std::wstring> peer = WmicLast(p.alias, p.property);
    ASSERT_TRUE(peer) << "wmic " << Narrow(p.alias) << " get " << Narrow(p.property);
    EXPECT_EQ(service.WmiQuery(p.cls, p.property), *peer) << Narrow(p.cls) << "." << Narrow(p.property);
  }
}

}  // namespace
}  // namespace corvel
