// The resources both programs carry: manifest, icon, version, and Corvel's
// two sounds. This test program links corvel.rc itself; Tessel.exe is read
// as a data file from the same folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "version.h"
#include "win/folders.h"

namespace corvel {
namespace {

std::wstring OwnFolder() { return ProgramFolder(); }

struct Module {
  std::wstring file;
  HMODULE handle;
};

// The test program itself stands for corvel.exe (same resource script).
Module Corvel() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return {std::wstring(path, n), GetModuleHandleW(nullptr)};
}

Module Tessel() {
  const std::wstring file = OwnFolder() + L"Tessel.exe";
  return {file, LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)};
}

std::string ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
  HRSRC info = FindResourceW(module, name, type);
  if (!info) return {};
  HGLOBAL data = LoadResource(module, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return {};
  return std::string(static_cast<const char*>(bytes), SizeofResource(module, info));
}

std::wstring VersionString(const std::wstring& file, const wchar_t* key) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (!size) return L"<no version resource>";
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return L"<unreadable>";
  const std::wstring sub = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), sub.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
    return L"<missing>";
  return value;
}

VS_FIXEDFILEINFO FixedVersion(const std::wstring& file) {
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  VS_FIXEDFILEINFO fixed{};
  if (block.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
    return fixed;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) && info) fixed = *info;
  return fixed;
}

TEST(Resources, ManifestAskForNoElevationCommonControls6AndPerMonitorDpi) {
  for (const Module& m : {Corvel(), Tessel()}) {
    ASSERT_NE(m.handle, nullptr) << "cannot load " << std::string(m.file.begin(), m.file.end());
    const std::string manifest = ResourceBytes(m.handle, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
      EXPECT_NE(manifest.find(os), std::string::npos) << os;
    // Both programs scale their own layout per monitor; the older key is the fallback before Windows 10.
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
              std::string::npos);
  }
}

TEST(Resources, ProgramIconInThreeSizes) {
  for (const Module& m : {Corvel(), Tessel()}) {
    ASSERT_NE(m.handle, nullptr);
    for (int size : {16, 32, 48}) {
      HICON icon = static_cast<HICON>(LoadImageW(m.handle, MAKEINTRESOURCEW(IDI_CORVEL), IMAGE_ICON, size, size, 0));
      ASSERT_NE(icon, nullptr) << size;
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(icon, &info));
      BITMAP bm{};
      GetObjectW(info.hbmColor, sizeof bm, &bm);
      EXPECT_EQ(bm.bmWidth, size);
      EXPECT_EQ(bm.bmBitsPixel, 32) << size;
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      DestroyIcon(icon);
    }
    // Exactly these three images: the group lists its entries after a 6-byte header.
    const std::string group = ResourceBytes(m.handle, RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_CORVEL));
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(static_cast<unsigned char>(group[4]), 3);
  }
}

TEST(Resources, WavesAreRiffPcmOfTheRightLength) {
  struct Case { int id; double minSeconds, maxSeconds; } const cases[] = {
      {IDW_ALARM, 0.5, 1.5},
      {IDW_FANFARE, 4.0, 6.0},
  };
  for (const auto& c : cases) {
    const std::string wav = ResourceBytes(GetModuleHandleW(nullptr), L"WAVE", MAKEINTRESOURCEW(c.id));
    ASSERT_GE(wav.size(), 44u) << c.id;
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    std::uint16_t format, channels, bits;
    std::uint32_t rate, byteRate;
    std::memcpy(&format, &wav[20], 2);
    std::memcpy(&channels, &wav[22], 2);
    std::memcpy(&rate, &wav[24], 4);
    std::memcpy(&byteRate, &wav[28], 4);
    std::memcpy(&bits, &wav[34], 2);
    EXPECT_EQ(format, 1);  // PCM
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(rate, 11025u);
    EXPECT_TRUE(bits == 8 || bits == 16);
    const double seconds = static_cast<double>(wav.size() - 44) / byteRate;
    EXPECT_GE(seconds, c.minSeconds) << c.id;
    EXPECT_LE(seconds, c.maxSeconds) << c.id;
    EXPECT_LT(wav.size(), 150u * 1024u);
  }
}

TEST(Resources, VersionInformation) {
  struct Case { Module module; const wchar_t* product; const wchar_t* internal; const wchar_t* original; } const cases[] = {
      {Corvel(), L"Corvel", L"corvel", L"corvel.exe"},
      {Tessel(), L"Tessel", L"Tessel", L"Tessel.exe"},
  };
  const std::string text = CORVEL_VERSION_TEXT;
  const std::wstring version(text.begin(), text.end());
  for (const auto& c : cases) {
    const std::wstring& f = c.module.file;
    EXPECT_EQ(VersionString(f, L"CompanyName"), L"Corvel");
    EXPECT_EQ(VersionString(f, L"ProductName"), c.product);
    EXPECT_EQ(VersionString(f, L"InternalName"), c.internal);
    EXPECT_EQ(VersionString(f, L"OriginalFilename"), c.original);
    EXPECT_EQ(VersionString(f, L"FileVersion"), version);
    EXPECT_NE(VersionString(f, L"FileDescription").find(L' '), std::wstring::npos);
    EXPECT_NE(VersionString(f, L"LegalCopyright").find(L"Corvel"), std::wstring::npos);
    const VS_FIXEDFILEINFO fixed = FixedVersion(f);
    EXPECT_EQ(fixed.dwFileVersionMS, static_cast<DWORD>(MAKELONG(CORVEL_VERSION_MINOR, CORVEL_VERSION_MAJOR)));
    EXPECT_EQ(fixed.dwFileVersionLS, static_cast<DWORD>(MAKELONG(CORVEL_VERSION_BUILD, CORVEL_VERSION_PATCH)));
    EXPECT_EQ(fixed.dwProductVersionMS, fixed.dwFileVersionMS);
  }
}

}  // namespace
}  // namespace corvel
