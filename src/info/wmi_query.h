// WmiQuery: one property of the last instance of a WMI class as text, with
// the extra work the network adapter and physical memory classes do inside the
// walk. Portable rules over the Wmi port.
#pragma once
#include <array>
#include <map>
#include <string>

#include "info/wmi.h"

namespace corvel {

// The variant-to-text conversion: integers in decimal (UInt32 as the signed
// 32-bit number it arrives as), 64-bit numbers, date-times and texts as WMI
// wrote them, truth values "True"/"False", reals with the given separator.
// Throws Error for arrays, embedded objects and null.
std::wstring WmiValueText(const WmiValue& value, wchar_t decimalSeparator = L'.');

// "SIP", "DIP", "SIMM", "DIMM", "RIMM", "SODIMM", "SRIMM", "SMD", "SSMP"; "Unknown" otherwise.
const wchar_t* FormFactorName(int formFactor);

// The memory module table: four slots, the fifth and later modules all land in the last.
enum class ModuleField { Tag, Manufacturer, BankLabel, DeviceLocator, Capacity, Speed, TotalWidth, FormFactor };
constexpr int kModuleSlots = 4;
constexpr int kModuleFields = 8;
struct MemoryModuleTable {
  std::array<std::array<std::wstring, kModuleFields>, kModuleSlots> slots;
  std::wstring& At(int slot, ModuleField f) { return slots[slot][static_cast<int>(f)]; }
  const std::wstring& At(int slot, ModuleField f) const { return slots[slot][static_cast<int>(f)]; }
  void Clear() { slots = {}; }
  bool operator==(const MemoryModuleTable&) const = default;
};

// The four adapter captions of the Network page.
enum class AdapterLabel { Adapter, Transmit, Recieve, ATypt };  // LabelAdapter, LabelTransmit, LabelRecieve, LabelATypt

// What the two class-specific steps write; the main window implements it.
class WmiOutputs {
 public:
  virtual ~WmiOutputs() = default;
  virtual void SetAdapterLabel(AdapterLabel label, const std::wstring& text) = 0;
  // ok: ImageNetY shown and ImageNetN hidden; otherwise the reverse.
  virtual void SetAdapterStatus(bool ok) = 0;
  virtual MemoryModuleTable& ModuleTable() = 0;
};

class WmiQueryService {
 public:
  WmiQueryService(Wmi& wmi, WmiOutputs& outputs) : wmi_(wmi), outputs_(outputs) {}
  WmiQueryService(const WmiQueryService&) = delete;
  WmiQueryService& operator=(const WmiQueryService&) = delete;

  // Empty on any failure, silently; the side effects of the instances walked
  // before a failure stay.
  std::wstring WmiQuery(const std::wstring& className, const std::wstring& property);

  // For reals in answers; the user's decimal separator.
  void SetDecimalSeparator(wchar_t separator) { decimalSeparator_ = separator; }

  // While a Fill lives, each class is asked of WMI once and every WmiQuery of
  // the fill walks that answer, with the same texts, side effects and errors
  // as separate queries. Outside a fill every call asks afresh. A fill opened
  // inside another (a refresh entered while messages are processed) starts
  // with no answers of its own and gives the outer ones back when it ends.
  class Fill {
   public:
    explicit Fill(WmiQueryService& service) : service_(service), outer_(service.fill_) { service_.fill_ = this; }
    ~Fill() { service_.fill_ = outer_; }
    Fill(const Fill&) = delete;
    Fill& operator=(const Fill&) = delete;

   private:
    friend class WmiQueryService;
    WmiQueryService& service_;
    Fill* outer_;
    std::map<std::wstring, WmiAnswer> answers_;
  };

 private:
  const WmiAnswer& Answer(const std::wstring& className, WmiAnswer& scratch);
  void NetworkAdapterWork(const WmiInstance& instance, const std::wstring& property, const std::wstring& result,
                          std::wstring& adapterType, long long& errorCode);
  void MemoryWork(int slot, const std::wstring& property, const std::wstring& result);

  Wmi& wmi_;
  WmiOutputs& outputs_;
  Fill* fill_ = nullptr;
  wchar_t decimalSeparator_ = L'.';
};

}  // namespace corvel
