#include "info/wmi_win.h"

#include <windows.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <wrl/client.h>

#include <cwchar>

#include "win/handles.h"

namespace corvel {

namespace {

using Microsoft::WRL::ComPtr;

std::wstring Failure(const wchar_t* step, HRESULT hr) {
  wchar_t text[96];
  std::swprintf(text, 96, L"WMI: %ls 0x%08lX", step, static_cast<unsigned long>(hr));
  return text;
}

struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

bool VariantInteger(const VARIANT& v, std::int64_t& n) {
  switch (V_VT(&v)) {
    case VT_I1: n = V_I1(&v); return true;
    case VT_UI1: n = V_UI1(&v); return true;
    case VT_I2: n = V_I2(&v); return true;
    case VT_UI2: n = V_UI2(&v); return true;
    case VT_I4: n = V_I4(&v); return true;
    case VT_UI4: n = V_UI4(&v); return true;
    case VT_INT: n = V_INT(&v); return true;
    case VT_UINT: n = V_UINT(&v); return true;
    case VT_I8: n = V_I8(&v); return true;
    case VT_UI8: n = static_cast<std::int64_t>(V_UI8(&v)); return true;
    default: return false;
  }
}

std::wstring VariantText(const VARIANT& v) {
  if (V_VT(&v) == VT_BSTR && V_BSTR(&v)) return std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
  std::int64_t n = 0;
  if (VariantInteger(v, n)) return std::to_wstring(n);
  return {};
}

WmiType TypeOf(CIMTYPE cim) {
  switch (cim & ~CIM_FLAG_ARRAY) {
    case CIM_SINT8: return WmiType::SInt8;
    case CIM_UINT8: return WmiType::UInt8;
    case CIM_SINT16: return WmiType::SInt16;
    case CIM_UINT16: return WmiType::UInt16;
    case CIM_SINT32: return WmiType::SInt32;
    case CIM_UINT32: return WmiType::UInt32;
    case CIM_CHAR16: return WmiType::Char16;
    case CIM_SINT64: return WmiType::SInt64;
    case CIM_UINT64: return WmiType::UInt64;
    case CIM_DATETIME: return WmiType::DateTime;
    case CIM_REFERENCE: return WmiType::Reference;
    case CIM_REAL32: return WmiType::Real32;
    case CIM_REAL64: return WmiType::Real64;
    case CIM_BOOLEAN: return WmiType::Boolean;
    case CIM_OBJECT: return WmiType::Object;
    default: return WmiType::String;
  }
}

WmiValue Convert(const VARIANT& v, CIMTYPE cim) {
  const VARTYPE vt = V_VT(&v);
  if (vt == VT_NULL || vt == VT_EMPTY) return WmiValue::Null();
  if ((vt & VT_ARRAY) || (cim & CIM_FLAG_ARRAY)) return WmiValue::Of(WmiType::Array);
  WmiValue out;
  out.type = TypeOf(cim);
  switch (out.type) {
    case WmiType::Boolean:
      out.boolean = vt == VT_BOOL ? V_BOOL(&v) != VARIANT_FALSE : VariantText(v) == L"1";
      break;
    case WmiType::UInt32: {
      std::int64_t n = 0;
      if (!VariantInteger(v, n)) return WmiValue::Of(WmiType::Object);
      out.integer = static_cast<std::uint32_t>(n);  // WMI hands it over as VT_I4
      break;
    }
    case WmiType::SInt8: case WmiType::UInt8: case WmiType::SInt16: case WmiType::UInt16:
    case WmiType::SInt32: case WmiType::Char16:
      if (!VariantInteger(v, out.integer)) return WmiValue::Of(WmiType::Object);
      break;
    case WmiType::Real32: case WmiType::Real64:
      if (vt == VT_R4) out.real = V_R4(&v);
      else if (vt == VT_R8) out.real = V_R8(&v);
      else return WmiValue::Of(WmiType::Object);
      break;
    case WmiType::Object: case WmiType::Array: case WmiType::Null:
      break;
    default:  // 64-bit numbers, date-times, references and texts arrive as text
      out.text = VariantText(v);
      break;
  }
  return out;
}

WmiInstance ReadInstance(IWbemClassObject& object) {
  WmiInstance instance;
  if (FAILED(object.BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY))) return instance;
  for (;;) {
    BSTR raw = nullptr;
    Variant value;
    CIMTYPE cim = 0;
    const HRESULT hr = object.Next(0, &raw, &value.v, &cim, nullptr);
    const UniqueBstr name(raw);
    if (hr != WBEM_S_NO_ERROR) break;
    instance[std::wstring(name.get(), SysStringLen(name.get()))] = Convert(value.v, cim);
  }
  object.EndEnumeration();
  return instance;
}

}  // namespace

WmiAnswer Win32Wmi::SelectAll(const std::wstring& className) {
  WmiAnswer answer;
  ComPtr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&locator));
  if (FAILED(hr)) {
    answer.failure = Failure(L"locator", hr);
    return answer;
  }
  ComPtr<IWbemServices> services;
  const UniqueBstr root = MakeBstr(L"root\\cimv2");
  hr = locator->ConnectServer(root.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
  if (FAILED(hr)) {
    answer.failure = Failure(L"ConnectServer", hr);
    return answer;
  }
  CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
  const UniqueBstr wql = MakeBstr(L"WQL");
  const UniqueBstr query = MakeBstr(L"SELECT * FROM " + className);
  ComPtr<IEnumWbemClassObject> instances;
  hr = services->ExecQuery(wql.get(), query.get(), 0, nullptr, &instances);
  if (FAILED(hr) || !instances) {
    answer.failure = Failure(L"ExecQuery", hr);
    return answer;
  }
  for (;;) {
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    hr = instances->Next(WBEM_INFINITE, 1, &object, &returned);
    if (FAILED(hr)) {
      answer.failure = Failure(L"Next", hr);
      break;
    }
    if (returned == 0 || !object) break;
    answer.instances.push_back(ReadInstance(*object.Get()));
  }
  return answer;
}

}  // namespace corvel
