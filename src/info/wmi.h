// The Wmi port: one class of root\cimv2 -> its instances, each a property ->
// value map. Values keep the property's WMI type, so the text rules live in
// portable code and tests can state what WMI delivers. Portable header.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"

namespace corvel {

// The WMI (CIM) types a property value can have. UInt32 and the 64-bit types
// matter: WMI hands 32-bit unsigned numbers over as signed 32-bit variants and
// 64-bit numbers and date-times as text.
enum class WmiType {
  Null,       // no value
  Boolean,
  SInt8, UInt8, SInt16, UInt16, SInt32, UInt32, Char16,  // in `integer`
  SInt64, UInt64, DateTime, String, Reference,           // in `text`, as WMI writes them
  Real32, Real64,                                        // in `real`
  Object,     // an embedded object: no text
  Array,      // any array: no text
};

struct WmiValue {
  WmiType type = WmiType::Null;
  std::int64_t integer = 0;  // the number itself, unsigned ones not sign-extended (UInt32 4294967295)
  double real = 0;
  bool boolean = false;
  std::wstring text;

  bool IsNull() const { return type == WmiType::Null; }

  static WmiValue Null() { return {}; }
  static WmiValue Bool(bool b) { WmiValue v; v.type = WmiType::Boolean; v.boolean = b; return v; }
  static WmiValue Int(WmiType t, std::int64_t n) { WmiValue v; v.type = t; v.integer = n; return v; }
  static WmiValue Text(WmiType t, std::wstring s) { WmiValue v; v.type = t; v.text = std::move(s); return v; }
  static WmiValue Str(std::wstring s) { return Text(WmiType::String, std::move(s)); }
  static WmiValue U32(std::uint32_t n) { return Int(WmiType::UInt32, n); }
  static WmiValue U16(std::uint16_t n) { return Int(WmiType::UInt16, n); }
  static WmiValue U64(std::uint64_t n) { return Text(WmiType::UInt64, std::to_wstring(n)); }
  static WmiValue Real(WmiType t, double d) { WmiValue v; v.type = t; v.real = d; return v; }
  static WmiValue Of(WmiType t) { WmiValue v; v.type = t; return v; }
};

// WMI property names are case-insensitive.
struct WmiNameLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const { return AsciiLower(a) < AsciiLower(b); }
};
using WmiInstance = std::map<std::wstring, WmiValue, WmiNameLess>;

// The answer to "SELECT * FROM <class>": the instances in WMI's order. A
// failure (no connection, unknown class, an enumeration that broke off) comes
// after the instances that were delivered before it.
struct WmiAnswer {
  std::vector<WmiInstance> instances;
  std::optional<std::wstring> failure;
};

class Wmi {
 public:
  virtual ~Wmi() = default;
  // One connection and one full query; never throws.
  virtual WmiAnswer SelectAll(const std::wstring& className) = 0;
};

}  // namespace corvel
