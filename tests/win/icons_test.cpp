// The icon extractor on real files: libraries and a program of the prefix,
// copied into a sandbox folder (the icons are written next to the source),
// the same files cut short or with hostile resource sizes, and the adapter's
// new-file rule. The files for the wrestool peer check (icons_peer_check) are
// written to S:\icon-peer and left there.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "icons/icon_extractor_win.h"
#include "win/files.h"
#include "win/support/temp_folder.h"

namespace corvel::icons {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

std::wstring SystemFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, n) + L"\\" + name;
}

// The copy gets a name of its own: loading a library named like a module
// the process has loaded answers with that module instead of the file.
std::wstring CopyInto(const TempFolder& dir, const wchar_t* name) {
  const std::wstring copy = dir / (std::wstring(L"copy-") + name);
  if (!CopyFileW(SystemFile(name).c_str(), copy.c_str(), TRUE)) ADD_FAILURE() << "cannot copy " << Narrow(name);
  return copy;
}

std::vector<std::wstring> IcoFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"*.ico").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(fd.cFileName);
  while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

std::uint32_t Le16(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b.at(at)) | static_cast<std::uint8_t>(b.at(at + 1)) << 8;
}
std::uint32_t Le32(const std::string& b, std::size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

// The resources of a file, read with the system's own calls.
class Resources {
 public:
  explicit Resources(const std::wstring& file)
      : module_(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~Resources() { if (module_) FreeLibrary(module_); }
  std::string Bytes(LPCWSTR type, LPCWSTR name) const {
    HRSRC info = FindResourceW(module_, name, type);
    if (!info) return {};
    const void* p = LockResource(LoadResource(module_, info));
    return std::string(static_cast<const char*>(p), SizeofResource(module_, info));
  }
  std::vector<std::wstring> GroupNames() const {
    std::vector<std::wstring> names;
    EnumResourceNamesW(module_, RT_GROUP_ICON, [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR p) -> BOOL {
      auto& out = *reinterpret_cast<std::vector<std::wstring>*>(p);
      out.push_back(IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name));
      return TRUE;
    }, reinterpret_cast<LONG_PTR>(&names));
    return names;
  }
  static LPCWSTR Name(const std::wstring& name) {
    return name.find_first_not_of(L"0123456789") == std::wstring::npos
               ? MAKEINTRESOURCEW(std::stoi(name)) : name.c_str();
  }
  HMODULE module_;
};

// Every .ico against the resources it came from: the group's count, each
// image's bytes (a bitmap's bytes 20-23 as 0, PNG untouched), running
// offsets, and the system's icon loader takes the file.
void CheckAgainstResources(const std::wstring& folder, const std::wstring& source) {
  const Resources res(source);
  const auto names = res.GroupNames();
  ASSERT_FALSE(names.empty());
  int png = 0;
  for (const std::wstring& name : names) {
    SCOPED_TRACE(Narrow(name));
    const std::string group = res.Bytes(RT_GROUP_ICON, Resources::Name(name));
    const auto ico = ReadWholeFile(folder + name + L".ico");
    ASSERT_TRUE(ico.has_value());
    const std::uint32_t count = Le16(group, 4);
    ASSERT_EQ(Le16(*ico, 4), count);
    std::size_t offset = 6 + 16 * count;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint32_t id = Le16(group, 6 + 14 * i + 12);
      std::string image = res.Bytes(RT_ICON, MAKEINTRESOURCEW(id));
      const bool isPng = image.compare(0, 4, "\x89PNG") == 0;
      png += isPng;
      if (!isPng) image.replace(20, 4, 4, '\0');
      ASSERT_EQ(Le32(*ico, 6 + 16 * i + 8), image.size());
      ASSERT_EQ(Le32(*ico, 6 + 16 * i + 12), offset);
      EXPECT_EQ(ico->substr(offset, image.size()), image) << "image " << id;
      offset += image.size();
    }
    EXPECT_EQ(offset, ico->size());
    HANDLE icon = LoadImageW(nullptr, (folder + name + L".ico").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
    EXPECT_NE(icon, nullptr) << "the system cannot load the file";
    if (icon) DestroyIcon(static_cast<HICON>(icon));
  }
  ::testing::Test::RecordProperty("png_images", png);
}

TEST(IconExtractorWin, WritesEveryGroupOfTheLargestLibrary) {
  TempFolder dir;
  const std::wstring source = CopyInto(dir, L"shell32.dll");
  int maximum = -1, steps = 0, finished = 0;
  const ExtractResult result = ExtractIconGroupsFromFile(
      source, {.setMaximum = [&](int m) { maximum = m; }, .step = [&] { ++steps; }, .finish = [&] { ++finished; }});
  ASSERT_EQ(result.status, ExtractResult::Status::Done);
  EXPECT_EQ(result.folder, dir.path());
  EXPECT_GT(result.groups.size(), 100u);
  for (const GroupOutcome& g : result.groups) EXPECT_EQ(g.result, GroupResult::Written) << Narrow(g.name);
  EXPECT_EQ(maximum, static_cast<int>(result.groups.size()));
  EXPECT_EQ(steps, maximum);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(IcoFiles(dir.path()).size(), result.groups.size());
  CheckAgainstResources(dir.path(), source);
}

TEST(IconExtractorWin, AProgramOfThePrefixAndASecondRun) {
  TempFolder dir;
  const std::wstring source = CopyInto(dir, L"notepad.exe");
  ASSERT_EQ(ExtractIconGroupsFromFile(source).status, ExtractResult::Status::Done);
  CheckAgainstResources(dir.path(), source);
  const auto files = IcoFiles(dir.path());
  ASSERT_FALSE(files.empty());

  // A changed file stays as it is; the second run writes nothing.
  WriteBytes(dir / files[0], "kept");
  std::map<std::wstring, std::string> before;
  for (const auto& f : files) before[f] = *ReadWholeFile(dir / f);
  const ExtractResult second = ExtractIconGroupsFromFile(source);
  EXPECT_EQ(second.status, ExtractResult::Status::Done);
  for (const GroupOutcome& g : second.groups) EXPECT_EQ(g.result, GroupResult::Exists);
  EXPECT_EQ(IcoFiles(dir.path()).size(), files.size());
  for (const auto& f : files) EXPECT_EQ(*ReadWholeFile(dir / f), before[f]);
}

TEST(IconExtractorWin, SourcesThatCannotBeLoaded) {
  TempFolder dir;
  WriteBytes(dir / L"text.dll", "MZ, but nothing of a program follows");
  WriteBytes(dir / L"empty.exe", "");
  for (const wchar_t* name : {L"text.dll", L"empty.exe", L"missing.dll"}) {
    const ExtractResult result = ExtractIconGroupsFromFile(dir / name);
    EXPECT_EQ(result.status, ExtractResult::Status::NotLoaded) << Narrow(name);
    EXPECT_EQ(ExtractMessage(result, 1), L"");
  }
  EXPECT_TRUE(IcoFiles(dir.path()).empty());
}

TEST(IconExtractorWin, AProgramWithoutIcons) {
  TempFolder dir;
  const std::wstring source = CopyInto(dir, L"kernel32.dll");
  const ExtractResult result = ExtractIconGroupsFromFile(source);
  EXPECT_EQ(result.status, ExtractResult::Status::NoIcons);
  EXPECT_EQ(ExtractMessage(result, 1), L"No icons found!");
  EXPECT_EQ(ExtractMessage(result, 0), L"Keine Icons gefunden!");
  EXPECT_TRUE(IcoFiles(dir.path()).empty());
}

// Cut copies: whatever loads, nothing is read outside what was mapped and
// every file written is whole.
TEST(IconExtractorWin, TruncatedLibraries) {
  const auto whole = ReadWholeFile(SystemFile(L"user32.dll"));
  ASSERT_TRUE(whole.has_value());
  for (double part : {0.999, 0.95, 0.5, 0.1, 0.01}) {
    SCOPED_TRACE(part);
    TempFolder dir;
    WriteBytes(dir / L"cut.dll", whole->substr(0, static_cast<std::size_t>(whole->size() * part)));
    const ExtractResult result = ExtractIconGroupsFromFile(dir / L"cut.dll");
    for (const GroupOutcome& g : result.groups) {
      if (g.result != GroupResult::Written) continue;
      const auto ico = ReadWholeFile(dir / (g.name + L".ico"));
      ASSERT_TRUE(ico.has_value());
      const std::uint32_t count = Le16(*ico, 4);
      const std::size_t last = 6 + 16 * (count - 1);
      EXPECT_EQ(Le32(*ico, last + 12) + Le32(*ico, last + 8), ico->size());
    }
  }
}

// A copy of a library whose resource table was edited: the file's own
// table is where the loader takes resource sizes from.
class PatchedPe {
 public:
  explicit PatchedPe(std::string bytes) : b_(std::move(bytes)) {}
  // The data entry of a resource (first language), as a file offset.
  std::optional<std::size_t> DataEntry(WORD type, WORD id) const {
    const auto dir = Rva(ResourceRva());
    if (!dir) return std::nullopt;
    auto sub = Child(*dir, *dir, type);
    if (!sub) return std::nullopt;
    sub = Child(*dir, *sub, id);
    if (!sub) return std::nullopt;
    return Child(*dir, *sub, std::nullopt);
  }
  std::optional<std::size_t> DataOf(WORD type, WORD id) const {
    auto entry = DataEntry(type, id);
    return entry ? Rva(Get32(*entry)) : std::nullopt;
  }
  void Put32(std::size_t at, std::uint32_t v) { std::memcpy(&b_[at], &v, 4); }
  void Put16(std::size_t at, std::uint16_t v) { std::memcpy(&b_[at], &v, 2); }
  std::uint32_t Get32(std::size_t at) const { std::uint32_t v; std::memcpy(&v, &b_[at], 4); return v; }
  const std::string& bytes() const { return b_; }

 private:
  const IMAGE_NT_HEADERS64* Nt() const {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(b_.data());
    return reinterpret_cast<const IMAGE_NT_HEADERS64*>(b_.data() + dos->e_lfanew);
  }
  DWORD ResourceRva() const { return Nt()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress; }
  std::optional<std::size_t> Rva(DWORD rva) const {
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(Nt());
    for (WORD i = 0; i < Nt()->FileHeader.NumberOfSections; ++i, ++s)
      if (rva >= s->VirtualAddress && rva < s->VirtualAddress + s->SizeOfRawData)
        return rva - s->VirtualAddress + s->PointerToRawData;
    return std::nullopt;
  }
  // The entry of `id` in the directory at `at` (the first one for nullopt):
  // a subdirectory's or data entry's file offset.
  std::optional<std::size_t> Child(std::size_t root, std::size_t at, std::optional<WORD> id) const {
    const auto* d = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(b_.data() + at);
    const auto* e = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY_ENTRY*>(d + 1);
    for (int i = 0; i < d->NumberOfNamedEntries + d->NumberOfIdEntries; ++i, ++e) {
      if (id && (e->NameIsString || e->Id != *id)) continue;
      return root + (e->OffsetToData & 0x7FFFFFFF);
    }
    return std::nullopt;
  }
  std::string b_;
};

TEST(IconExtractorWin, HostileResourceSizesSkipTheirGroup) {
  const auto whole = ReadWholeFile(SystemFile(L"user32.dll"));
  ASSERT_TRUE(whole.has_value());
  const Resources original(SystemFile(L"user32.dll"));
  const std::string hand = original.Bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(32512));
  ASSERT_GE(hand.size(), 20u);
  const WORD firstImage = static_cast<WORD>(Le16(hand, 6 + 12));

  PatchedPe pe(*whole);
  // An image claiming 2 GB, a group counting more entries than it has, an
  // image claiming 0 bytes.
  const auto image = pe.DataEntry(3, firstImage);
  ASSERT_TRUE(image.has_value());
  pe.Put32(*image + 4, 0x7FFFFFF0);
  const auto group = pe.DataOf(14, 32513);
  ASSERT_TRUE(group.has_value());
  pe.Put16(*group + 4, 0xFFFF);
  const std::string question = original.Bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(32514));
  const auto empty = pe.DataEntry(3, static_cast<WORD>(Le16(question, 6 + 12)));
  ASSERT_TRUE(empty.has_value());
  pe.Put32(*empty + 4, 0);

  TempFolder dir;
  WriteBytes(dir / L"hostile.dll", pe.bytes());
  const ExtractResult result = ExtractIconGroupsFromFile(dir / L"hostile.dll");
  ASSERT_EQ(result.status, ExtractResult::Status::Done);
  std::map<std::wstring, GroupResult> outcome;
  for (const GroupOutcome& g : result.groups) outcome[g.name] = g.result;
  EXPECT_EQ(outcome[L"32512"], GroupResult::Unreadable);
  EXPECT_EQ(outcome[L"32513"], GroupResult::Unreadable);
  EXPECT_EQ(outcome[L"32514"], GroupResult::Unreadable);
  EXPECT_EQ(outcome[L"32515"], GroupResult::Written);
  EXPECT_FALSE(FileExists(dir / L"32512.ico"));
  EXPECT_TRUE(FileExists(dir / L"32515.ico"));
}

TEST(IconExtractorWin, NewFilesOnly) {
  TempFolder dir;
  Win32IconFiles files;
  WriteBytes(dir / L"old.ico", "old");
  auto exists = files.CreateNew(dir / L"old.ico");
  EXPECT_EQ(exists.status, IconFiles::Created::Status::Exists);
  EXPECT_EQ(ReadWholeFile(dir / L"old.ico"), std::string("old"));
  EXPECT_TRUE(files.Exists(dir / L"old.ico"));
  CreateDirectoryW((dir / L"folder.ico").c_str(), nullptr);
  EXPECT_TRUE(files.Exists(dir / L"folder.ico"));
  EXPECT_FALSE(files.Exists(dir / L"new.ico"));

  auto missing = files.CreateNew(dir / L"no folder\\new.ico");
  EXPECT_EQ(missing.status, IconFiles::Created::Status::Failed);
  EXPECT_EQ(missing.error, static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));

  auto created = files.CreateNew(dir / L"new.ico");
  ASSERT_EQ(created.status, IconFiles::Created::Status::Created);
  std::uint32_t error = 0;
  const std::uint8_t data[] = {1, 2, 3};
  EXPECT_TRUE(created.file->Write(data, error));
  // Not shared while it is written.
  HANDLE other = CreateFileW((dir / L"new.ico").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(other, INVALID_HANDLE_VALUE);
  if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  EXPECT_TRUE(created.file->Close(error));
  EXPECT_EQ(ReadWholeFile(dir / L"new.ico"), std::string("\1\2\3"));
  EXPECT_TRUE(files.Remove(dir / L"new.ico"));
  EXPECT_FALSE(FileExists(dir / L"new.ico"));
}

// Leaves Corvel's files for the wrestool comparison: S:\icon-peer\<file>\
// holds a copy of each source ("copy-<file>") and the .ico files written beside it.
TEST(IconPeer, WritesTheFilesOfThreeSources) {
  const std::wstring root = L"S:\\icon-peer\\";
  ASSERT_TRUE(DirectoryExists(L"S:\\")) << "the sandbox drive is not mapped";
  for (const wchar_t* name : {L"shell32.dll", L"user32.dll", L"notepad.exe"}) {
    SCOPED_TRACE(Narrow(name));
    const std::wstring folder = root + name + L"\\";
    // A fresh copy each run: the old files would all be skipped.
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const std::wstring& old : IcoFiles(folder)) DeleteFileW((folder + old).c_str());
    const std::wstring copy = folder + L"copy-" + name;
    DeleteFileW(copy.c_str());
    ASSERT_TRUE(IcoFiles(folder).empty());
    ASSERT_TRUE(CopyFileW(SystemFile(name).c_str(), copy.c_str(), TRUE));
    const ExtractResult result = ExtractIconGroupsFromFile(copy);
    ASSERT_EQ(result.status, ExtractResult::Status::Done);
    EXPECT_EQ(IcoFiles(folder).size(), result.groups.size());
  }
}

}  // namespace
}  // namespace corvel::icons
