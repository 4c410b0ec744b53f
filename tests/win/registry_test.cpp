// Registry reads on a key the test creates under HKCU of the test prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win/registry.h"

namespace corvel {
namespace {

constexpr const wchar_t* kKey = L"Software\\CorvelTest\\Registry";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\CorvelTest");
  }
  void Put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  void PutText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    Put(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  HKEY key = nullptr;
};

TEST_F(Registry, TextsOfAnyLengthAsStored) {
  const std::wstring longText(5000, L'x');
  PutText(L"Long", longText);
  PutText(nullptr, L"\"C:\\Program Files\\Browser\\browser.exe\" -- \"%1\"");
  PutText(L"Expand", L"%SystemRoot%\\system32\\saver.scr", REG_EXPAND_SZ);
  PutText(L"Empty", L"");
  // Stored without its terminating NUL, as some programs write them.
  const std::wstring bare = L"abc";
  Put(L"Bare", REG_SZ, bare.c_str(), static_cast<DWORD>(bare.size() * sizeof(wchar_t)));
  const DWORD number = 7;
  Put(L"Number", REG_DWORD, &number, sizeof number);

  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, L"Long"), longText);
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, nullptr), L"\"C:\\Program Files\\Browser\\browser.exe\" -- \"%1\"");
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, L"Expand"), L"%SystemRoot%\\system32\\saver.scr")
      << "not expanded";
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, L"Empty"), L"");
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, L"Bare"), L"abc");
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, L"Number"), L"") << "another type reads as missing";
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, L"Missing"), L"");
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, L"Software\\CorvelTest\\NoSuchKey", L"Long"), L"");
}

TEST_F(Registry, NumbersOnlyFromDwordValues) {
  const DWORD number = 0x0200;
  Put(L"Number", REG_DWORD, &number, sizeof number);
  PutText(L"Text", L"512");
  EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, kKey, L"Number"), 0x0200u);
  EXPECT_FALSE(RegistryDword(HKEY_CURRENT_USER, kKey, L"Text"));
  EXPECT_FALSE(RegistryDword(HKEY_CURRENT_USER, kKey, L"Missing"));
}

// Keys opened for their use: names in enumeration order, types, writes and
// deletes, a missing key, and a key opened for reading refusing a write.
TEST_F(Registry, KeysListWriteAndDeleteValues) {
  PutText(L"B", L"b");
  PutText(L"A", L"a", REG_EXPAND_SZ);
  const std::wstring longName(300, L'n');
  PutText(longName.c_str(), L"long");
  LSTATUS status = 0;
  const auto key = RegistryKey::Open(HKEY_CURRENT_USER, kKey, KEY_READ | KEY_SET_VALUE, &status);
  ASSERT_TRUE(key);
  EXPECT_EQ(status, ERROR_SUCCESS);
  // In the registry's own order (Wine's is by name, Windows' by creation).
  auto sorted = [](std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
  };
  EXPECT_EQ(sorted(key->ValueNames()), (std::vector<std::wstring>{L"A", L"B", longName}));
  EXPECT_EQ(key->ValueType(L"A"), static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_FALSE(key->ValueType(L"Missing"));
  EXPECT_EQ(key->Text(L"B"), L"b");
  EXPECT_EQ(key->SetText(L"C", L"c:\\x.exe /y"), ERROR_SUCCESS);
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kKey, L"C"), L"c:\\x.exe /y");
  EXPECT_EQ(key->DeleteValue(L"B"), ERROR_SUCCESS);
  EXPECT_NE(key->DeleteValue(L"B"), ERROR_SUCCESS);
  EXPECT_EQ(sorted(key->ValueNames()), (std::vector<std::wstring>{L"A", L"C", longName}));

  EXPECT_FALSE(RegistryKey::Open(HKEY_CURRENT_USER, L"Software\\CorvelTest\\None", KEY_READ, &status));
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  const auto created = RegistryKey::Create(HKEY_CURRENT_USER, L"Software\\CorvelTest\\New", KEY_READ | KEY_SET_VALUE);
  ASSERT_TRUE(created);
  EXPECT_TRUE(created->ValueNames().empty());
  const auto readOnly = RegistryKey::Open(HKEY_CURRENT_USER, kKey, KEY_READ);
  ASSERT_TRUE(readOnly);
  EXPECT_NE(readOnly->SetText(L"D", L"d"), ERROR_SUCCESS);
}

}  // namespace
}  // namespace corvel
