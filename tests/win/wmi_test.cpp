// The COM adapter against Wine's own WMI, and WmiQuery over it compared with
// what Wine's wmic prints for the same property.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "base/text.h"
#include "doubles/table_wmi.h"
#include "info/wmi_query.h"
#include "info/wmi_win.h"
#include "win/handles.h"

namespace corvel {
namespace {

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

// What `wmic <alias> get <property>` prints for the last instance, blanks at
// the end removed; nullopt when wmic could not be run.
std::optional<std::wstring> WmicLast(const std::wstring& alias, const std::wstring& property) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
  UniqueHandle reader(readEnd), writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{sizeof si};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"wmic.exe " + alias + L" get " + property;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, L"C:\\windows", &si, &pi))
    return std::nullopt;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  writer.Close();
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  WaitForSingleObject(pi.hProcess, 30000);
  // wmic writes UTF-16 (a byte-order mark may lead).
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(TrimRight(text.substr(start, end - start)));
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.size() < 2 || !SameTextAscii(lines[0], property)) return std::nullopt;
  return lines.back();
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
  ASSERT_EQ(a.instances.size(), 3u);
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
