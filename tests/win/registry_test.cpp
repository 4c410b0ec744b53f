// Registry reads on a key the test creates under HKCU of the test prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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

}  // namespace
}  // namespace corvel
