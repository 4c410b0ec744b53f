// A Wmi double for tests: answers from tables and counts the queries, and a
// WmiOutputs that records every write in order. Header-only and portable.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "info/wmi.h"
#include "info/wmi_query.h"

namespace corvel {

class TableWmi : public Wmi {
 public:
  // Classes not in the table fail as an unknown class does.
  std::map<std::wstring, WmiAnswer> classes;
  std::vector<std::wstring> queries;  // every SelectAll, in order

  WmiAnswer SelectAll(const std::wstring& className) override {
    queries.push_back(className);
    const auto it = classes.find(className);
    if (it == classes.end()) return {{}, L"Ungültige Klasse"};
    return it->second;
  }
};

class RecordingWmiOutputs : public WmiOutputs {
 public:
  std::vector<std::wstring> log;  // "Adapter=...", "Status=ok" / "Status=error"
  MemoryModuleTable table;

  void SetAdapterLabel(AdapterLabel label, const std::wstring& text) override {
    static const wchar_t* const names[] = {L"Adapter", L"Transmit", L"Recieve", L"ATypt"};
    log.push_back(std::wstring(names[static_cast<int>(label)]) + L"=" + text);
  }
  void SetAdapterStatus(bool ok) override { log.push_back(ok ? L"Status=ok" : L"Status=error"); }
  MemoryModuleTable& ModuleTable() override { return table; }
};

}  // namespace corvel
