#include "info/wmi_query.h"

#include <algorithm>
#include <cwchar>

#include "base/errors.h"
#include "base/number.h"
#include "base/text.h"

namespace corvel {

namespace {

const WmiValue& Property(const WmiInstance& instance, const std::wstring& name) {
  const auto it = instance.find(name);
  if (it == instance.end()) throw Error(L"Unbekannter Name: " + name);
  return it->second;
}

bool IsInteger(WmiType t) {
  switch (t) {
    case WmiType::SInt8: case WmiType::UInt8: case WmiType::SInt16: case WmiType::UInt16:
    case WmiType::SInt32: case WmiType::UInt32: case WmiType::Char16:
      return true;
    default:
      return false;
  }
}

// The number a variant of this type holds: UInt32 arrives as signed 32 bits.
std::int64_t VariantInteger(const WmiValue& v) {
  if (v.type == WmiType::UInt32) return static_cast<std::int32_t>(static_cast<std::uint32_t>(v.integer));
  return v.integer;
}

bool VariantTruth(const WmiValue& v) {
  if (v.type == WmiType::Boolean) return v.boolean;
  if (IsInteger(v.type)) return VariantInteger(v) != 0;
  throw Error(L"Ungültige Variantentyp-Umwandlung");
}

std::wstring TextOrEmpty(const WmiValue& v, wchar_t separator) {
  return v.IsNull() ? std::wstring() : WmiValueText(v, separator);
}

}  // namespace

std::wstring WmiValueText(const WmiValue& v, wchar_t decimalSeparator) {
  switch (v.type) {
    case WmiType::Boolean:
      return v.boolean ? L"True" : L"False";
    case WmiType::SInt8: case WmiType::UInt8: case WmiType::SInt16: case WmiType::UInt16:
    case WmiType::SInt32: case WmiType::UInt32: case WmiType::Char16:
      return IntToStr(VariantInteger(v));
    case WmiType::SInt64: case WmiType::UInt64: case WmiType::DateTime: case WmiType::String:
    case WmiType::Reference:
      return v.text;
    case WmiType::Real32: case WmiType::Real64: {
      wchar_t buffer[64];
      std::swprintf(buffer, 64, L"%.15G", v.real);
      std::wstring s = buffer;
      std::replace(s.begin(), s.end(), L'.', decimalSeparator);
      return s;
    }
    case WmiType::Null: case WmiType::Object: case WmiType::Array:
      break;
  }
  throw Error(L"Ungültige Variantentyp-Umwandlung");
}

const wchar_t* FormFactorName(int formFactor) {
  switch (formFactor) {
    case 2: return L"SIP";
    case 3: return L"DIP";
    case 7: return L"SIMM";
    case 8: return L"DIMM";
    case 11: return L"RIMM";
    case 12: return L"SODIMM";
    case 13: return L"SRIMM";
    case 14: return L"SMD";
    case 15: return L"SSMP";
    default: return L"Unknown";
  }
}

const WmiAnswer& WmiQueryService::Answer(const std::wstring& className, WmiAnswer& scratch) {
  if (!fill_) {
    scratch = wmi_.SelectAll(className);
    return scratch;
  }
  auto it = fill_->answers_.find(className);
  if (it == fill_->answers_.end()) it = fill_->answers_.emplace(className, wmi_.SelectAll(className)).first;
  return it->second;
}

std::wstring WmiQueryService::WmiQuery(const std::wstring& className, const std::wstring& property) {
  // Per call, as a fresh query would have them.
  std::wstring adapterType;
  long long errorCode = 0;
  try {
    WmiAnswer scratch;
    const WmiAnswer& answer = Answer(className, scratch);
    std::wstring result;
    int count = 0;
    for (const WmiInstance& instance : answer.instances) {
      const int index = count++;
      const WmiValue& value = Property(instance, property);
      if (value.IsNull()) {
        result.clear();
        continue;
      }
      result = WmiValueText(value, decimalSeparator_);
      if (className == L"Win32_NetworkAdapter") NetworkAdapterWork(instance, property, result, adapterType, errorCode);
      if (className == L"Win32_PhysicalMemory") MemoryWork(std::min(index, kModuleSlots - 1), property, result);
    }
    if (answer.failure) throw Error(*answer.failure);
    return result;
  } catch (const std::exception&) {
    return {};
  }
}

void WmiQueryService::NetworkAdapterWork(const WmiInstance& instance, const std::wstring& property,
                                         const std::wstring& result, std::wstring& adapterType,
                                         long long& errorCode) {
  if (property == L"AdapterType") adapterType = result;
  if (adapterType != L"Ethernet 802.3") return;
  const WmiValue& enabled = Property(instance, L"NetEnabled");
  if (enabled.IsNull() || !VariantTruth(enabled)) return;
  outputs_.SetAdapterLabel(AdapterLabel::Adapter, TextOrEmpty(Property(instance, L"ProductName"), decimalSeparator_));
  outputs_.SetAdapterLabel(AdapterLabel::Transmit, TextOrEmpty(Property(instance, L"AdapterType"), decimalSeparator_));
  outputs_.SetAdapterLabel(AdapterLabel::Recieve, TextOrEmpty(Property(instance, L"MACAddress"), decimalSeparator_));
  outputs_.SetAdapterLabel(AdapterLabel::ATypt, TextOrEmpty(Property(instance, L"Manufacturer"), decimalSeparator_));
  const WmiValue& code = Property(instance, L"ConfigManagerErrorCode");
  if (!code.IsNull()) errorCode = IsInteger(code.type) ? VariantInteger(code) : StrToInt(WmiValueText(code));
  outputs_.SetAdapterStatus(errorCode == 0);
}

void WmiQueryService::MemoryWork(int slot, const std::wstring& property, const std::wstring& result) {
  MemoryModuleTable& table = outputs_.ModuleTable();
  if (property == L"Tag") table.At(slot, ModuleField::Tag) = result;
  else if (property == L"Manufacturer") table.At(slot, ModuleField::Manufacturer) = result;
  else if (property == L"BankLabel") table.At(slot, ModuleField::BankLabel) = result;
  else if (property == L"DeviceLocator") table.At(slot, ModuleField::DeviceLocator) = result;
  else if (property == L"Capacity")
    table.At(slot, ModuleField::Capacity) =
        FormatFloat(L"0", StrToFloat(result, decimalSeparator_) / 1048576.0, decimalSeparator_) + L" MB";
  else if (property == L"Speed") table.At(slot, ModuleField::Speed) = result + L" MHz";
  else if (property == L"TotalWidth") table.At(slot, ModuleField::TotalWidth) = result + L" pins";
  else if (property == L"FormFactor") table.At(slot, ModuleField::FormFactor) = FormFactorName(StrToInt(result));
}

}  // namespace corvel
