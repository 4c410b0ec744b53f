// The icon extractor over resources built here: the ICO layout of each entry
// and image, group names, existing files, PNG images, and what is left when
// reading or writing fails.
#include <gtest/gtest.h>

#include "base/text.h"
#include "icons/icon_extractor.h"
#include "unit/icon_doubles.h"

namespace corvel::icons {
namespace {

using fake::BitmapImage;
using fake::ByteVector;
using fake::EntryOf;
using fake::Get16;
using fake::GroupDirectory;
using fake::GroupDirectoryOf;
using fake::IcoEntry;
using fake::MemoryFiles;
using fake::ModuleTables;
using fake::PngImage;
using fake::TableLoader;

const std::wstring kSource = L"C:\\Apps\\tool.exe";
const std::wstring kFolder = L"C:\\Apps\\";

struct Scene {
  TableLoader loader;
  MemoryFiles files;
  ExtractResult Extract(const IconProgress& progress = {}) {
    return ExtractIconGroups(loader, files, kSource, progress);
  }
  const ByteVector& File(const std::wstring& name) { return files.files.at(kFolder + name); }
};

// The image as it must stand in the file: bytes 20-23 of a bitmap as 0.
ByteVector AsWritten(ByteVector image) {
  for (int i = 20; i < 24; ++i) image[i] = 0;
  return image;
}
ByteVector Slice(const ByteVector& b, std::size_t from, std::size_t size) {
  return ByteVector(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + size));
}

TEST(IconExtractor, MainIconWithTwoImages) {
  const ByteVector big = BitmapImage(32, 32, 8, 1, 1024 + 1024 + 128);
  const ByteVector small = BitmapImage(16, 16, 8, 1, 256 + 256 + 64);
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Text(L"MAINICON"), GroupDirectory({7, 3})}},
                                 .images = {{7, big}, {3, small}}};
  const ExtractResult result = run.Extract();
  EXPECT_EQ(result.status, ExtractResult::Status::Done);
  EXPECT_TRUE(result.ran());
  EXPECT_EQ(ExtractMessage(result, 1), L"");

  const ByteVector& ico = run.File(L"MAINICON.ico");
  ASSERT_EQ(ico.size(), 6 + 32 + big.size() + small.size());
  EXPECT_EQ(Slice(ico, 0, 6), (ByteVector{0, 0, 1, 0, 2, 0}));
  const auto b = static_cast<std::uint32_t>(big.size()), s = static_cast<std::uint32_t>(small.size());
  EXPECT_EQ(EntryOf(ico, 0), (IcoEntry{32, 32, 0, 0, 1, 8, b, 38}));
  EXPECT_EQ(EntryOf(ico, 1), (IcoEntry{16, 16, 0, 0, 1, 8, s, 38 + b}));
  EXPECT_EQ(Slice(ico, 38, big.size()), AsWritten(big));
  EXPECT_EQ(Slice(ico, 38 + big.size(), small.size()), AsWritten(small));
  // The image-size field is zeroed in the file only.
  EXPECT_EQ(run.loader.last->ImageNow(7), big);
  EXPECT_EQ(run.loader.last->ImageNow(3), small);
}

// Each entry comes from its image's own header, whatever the group directory says.
TEST(IconExtractor, EntryFieldsFromTheImageHeader) {
  struct Case {
    const char* what;
    ByteVector image;
    IcoEntry expected;  // bytes and offset left 0: filled below
  };
  const Case cases[] = {
      {"4-bit: 16 colours", BitmapImage(32, 32, 4), {32, 32, 16, 0, 1, 4}},
      {"1-bit: 2 colours", BitmapImage(32, 32, 1), {32, 32, 2, 0, 1, 1}},
      {"2 planes of 2 bits: 16 colours", BitmapImage(16, 16, 2, 2), {16, 16, 16, 0, 2, 2}},
      {"7 bits: 128 colours", BitmapImage(16, 16, 7), {16, 16, 128, 0, 1, 7}},
      {"24-bit: 0", BitmapImage(48, 48, 24), {48, 48, 0, 0, 1, 24}},
      {"32-bit: 0", BitmapImage(64, 64, 32), {64, 64, 0, 0, 1, 32}},
      {"256 wide and high: 0", BitmapImage(256, 256, 32), {0, 0, 0, 0, 1, 32}},
      {"300 keeps its low 8 bits", BitmapImage(300, 20, 8), {300 & 0xFF, 20, 0, 0, 1, 8}},
      {"odd header height halved toward zero", BitmapImage(20, 0, 8, 1, 64, 41), {20, 20, 0, 0, 1, 8}},
      {"0 planes: depth 0, 1 colour", BitmapImage(16, 16, 8, 0), {16, 16, 1, 0, 0, 8}},
      {"huge depth: 0", BitmapImage(16, 16, 0xFFFF, 0xFFFF), {16, 16, 0, 0, 0xFFFF, 0xFFFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scene run;
    // The directory claims other sizes and colours: they must not matter.
    run.loader.modules[kSource] = {
        .groups = {{ResourceName::Number(1), GroupDirectoryOf({{.id = 5, .bytesInResource = 0xFFFFFFFF, .width = 9,
                                                               .height = 9, .colours = 9}})}},
        .images = {{5, c.image}}};
    run.Extract();
    const ByteVector& ico = run.File(L"1.ico");
    IcoEntry expected = c.expected;
    expected.bytes = static_cast<std::uint32_t>(c.image.size());
    expected.offset = 22;
    EXPECT_EQ(EntryOf(ico, 0), expected);
    EXPECT_EQ(Slice(ico, 22, c.image.size()), AsWritten(c.image));
  }
}

TEST(IconExtractor, PngImagesAreWrittenUntouched) {
  struct Case {
    const char* what;
    ByteVector image;
    IcoEntry expected;
  };
  const Case cases[] = {
      {"256 RGBA, 8 bits a channel", PngImage(256, 256, 8, 6), {0, 0, 0, 0, 1, 32}},
      {"48 RGB", PngImage(48, 48, 8, 2), {48, 48, 0, 0, 1, 24}},
      {"grey and alpha, 16 bits", PngImage(32, 16, 16, 4), {32, 16, 0, 0, 1, 32}},
      {"4-bit palette", PngImage(16, 16, 4, 3), {16, 16, 16, 0, 1, 4}},
      {"1-bit grey", PngImage(24, 24, 1, 0), {24, 24, 2, 0, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ByteVector bmp = BitmapImage(16, 16, 8);
    Scene run;
    run.loader.modules[kSource] = {.groups = {{ResourceName::Text(L"APP"), GroupDirectory({1, 2})}},
                                   .images = {{1, c.image}, {2, bmp}}};
    run.Extract();
    const ByteVector& ico = run.File(L"APP.ico");
    IcoEntry expected = c.expected;
    expected.bytes = static_cast<std::uint32_t>(c.image.size());
    expected.offset = 38;
    EXPECT_EQ(EntryOf(ico, 0), expected);
    EXPECT_EQ(Slice(ico, 38, c.image.size()), c.image) << "PNG bytes changed";
    EXPECT_EQ(Slice(ico, 38 + c.image.size(), bmp.size()), AsWritten(bmp));
  }
}

TEST(IconExtractor, GroupNamesAndASecondRun) {
  const ByteVector image = BitmapImage(16, 16, 4);
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Number(1), GroupDirectory({10})},
                                            {ResourceName::Number(2), GroupDirectory({10, 11})},
                                            {ResourceName::Number(32512), GroupDirectory({11})},
                                            {ResourceName::Text(L"Z_ICON"), GroupDirectory({10})}},
                                 .images = {{10, image}, {11, BitmapImage(32, 32, 8)}}};
  ExtractResult first = run.Extract();
  EXPECT_EQ(first.status, ExtractResult::Status::Done);
  std::vector<std::wstring> names;
  for (const auto& [path, bytes] : run.files.files) names.push_back(path);
  EXPECT_EQ(names, (std::vector<std::wstring>{kFolder + L"1.ico", kFolder + L"2.ico", kFolder + L"32512.ico",
                                              kFolder + L"Z_ICON.ico"}));
  EXPECT_EQ(Get16(run.File(L"2.ico"), 4), 2u);

  // Files changed since are left as they are; the second run creates nothing.
  run.files.files[kFolder + L"2.ico"] = {1, 2, 3};
  run.files.events.clear();
  ExtractResult second = run.Extract();
  EXPECT_EQ(second.status, ExtractResult::Status::Done);
  EXPECT_TRUE(second.ran());
  EXPECT_TRUE(run.files.events.empty());
  EXPECT_EQ(run.File(L"2.ico"), (ByteVector{1, 2, 3}));
  for (const GroupOutcome& g : second.groups) EXPECT_EQ(g.result, GroupResult::Exists) << Narrow(g.name);
}

TEST(IconExtractor, ATargetThatAppearsMeanwhileIsNotOverwritten) {
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Number(1), GroupDirectory({1})}},
                                 .images = {{1, BitmapImage(16, 16, 8)}}};
  run.files.beforeCreate = [&](const std::wstring& path) { run.files.files[path] = {42}; };
  const ExtractResult result = run.Extract();
  EXPECT_EQ(result.groups.at(0).result, GroupResult::Exists);
  EXPECT_EQ(run.File(L"1.ico"), ByteVector{42});
}

TEST(IconExtractor, ProgressStepsBeforeEachGroup) {
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Number(1), GroupDirectory({1})},
                                            {ResourceName::Number(2), GroupDirectory({1})},
                                            {ResourceName::Number(3), GroupDirectory({9})}},
                                 .images = {{1, BitmapImage(16, 16, 8)}}};
  run.files.files[kFolder + L"2.ico"] = {};
  std::vector<std::wstring> steps;
  const IconProgress progress{
      .setMaximum = [&](int max) { steps.push_back(L"max " + std::to_wstring(max)); },
      .step = [&] { steps.push_back(L"step, " + std::to_wstring(run.files.files.size()) + L" files"); },
      .finish = [&] { steps.push_back(L"finish"); }};
  run.Extract(progress);
  EXPECT_EQ(steps, (std::vector<std::wstring>{L"max 3", L"step, 1 files", L"step, 2 files", L"step, 2 files",
                                              L"finish"}));
}

TEST(IconExtractor, NoIconsAndUnloadableSources) {
  struct Case {
    const char* what;
    bool loadable;
    ModuleTables tables;
    ExtractResult::Status status;
  };
  const Case cases[] = {
      {"cannot be loaded", false, {}, ExtractResult::Status::NotLoaded},
      {"no icon group", true, {}, ExtractResult::Status::NoIcons},
      {"only groups that cannot be read",
       true,
       {.groups = {{ResourceName::Number(1), GroupDirectory({1}, 5)}, {ResourceName::Number(2), {}}}},
       ExtractResult::Status::NoIcons},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scene run;
    if (c.loadable) run.loader.modules[kSource] = c.tables;
    int steps = 0;
    const ExtractResult result = run.Extract({.step = [&] { ++steps; }});
    EXPECT_EQ(result.status, c.status);
    EXPECT_FALSE(result.ran());
    EXPECT_TRUE(run.files.events.empty());
    EXPECT_EQ(steps, static_cast<int>(c.tables.groups.size()));
    const bool message = c.status == ExtractResult::Status::NoIcons;
    EXPECT_EQ(ExtractMessage(result, 1), message ? L"No icons found!" : L"");
    EXPECT_EQ(ExtractMessage(result, 0), message ? L"Keine Icons gefunden!" : L"");
  }
}

// A group that cannot be written in the layout is skipped whole; the others are written.
TEST(IconExtractor, UnreadableGroupsAreSkipped) {
  struct Case {
    const char* what;
    ByteVector directory;
  };
  const ByteVector image = BitmapImage(16, 16, 8);
  const Case cases[] = {
      {"image missing", GroupDirectory({1, 99})},
      {"image size cannot be taken", GroupDirectory({1, 50})},
      {"image shorter than its header", GroupDirectory({51})},
      {"empty image", GroupDirectory({52})},
      {"PNG cut inside its header", GroupDirectory({53})},
      {"PNG of an unknown colour type", GroupDirectory({54})},
      {"count beyond the data", GroupDirectory({1, 1}, 3)},
      {"no entries", GroupDirectory(std::vector<std::uint16_t>{})},
      {"directory cut in its header", {0, 0, 1, 0, 1}},
  };
  ByteVector shortPng = PngImage(16, 16, 8, 6);
  shortPng.resize(28);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scene run;
    run.loader.modules[kSource] = {
        .groups = {{ResourceName::Text(L"BAD"), c.directory}, {ResourceName::Text(L"GOOD"), GroupDirectory({1})}},
        .images = {{1, image},
                   {51, ByteVector(image.begin(), image.begin() + 39)},
                   {52, {}},
                   {53, shortPng},
                   {54, PngImage(16, 16, 8, 5)}},
        .unreadableImages = {50}};
    const ExtractResult result = run.Extract();
    EXPECT_EQ(result.status, ExtractResult::Status::Done);
    EXPECT_EQ(result.groups.at(0).result, GroupResult::Unreadable);
    EXPECT_EQ(run.files.files.count(kFolder + L"BAD.ico"), 0u);
    EXPECT_EQ(run.files.files.count(kFolder + L"GOOD.ico"), 1u);
    EXPECT_EQ(run.files.events, std::vector<std::wstring>{L"create " + kFolder + L"GOOD.ico"});
  }
}

TEST(IconExtractor, NamesThatAreNoPlainFileNameAreSkipped) {
  Scene run;
  ModuleTables tables{.images = {{1, BitmapImage(16, 16, 8)}}};
  for (const wchar_t* name : {L"..\\..\\EVIL", L"A/B", L"C:X", L"STREAM:X", L"CON", L"nul", L"LPT1", L"COM9.X",
                              L"AUX ", L"A*", L"Q?", L"\"Q\"", L"<>", L"|", L"TAB\t", L"OK"})
    tables.groups.push_back({ResourceName::Text(name), GroupDirectory({1})});
  run.loader.modules[kSource] = tables;
  const ExtractResult result = run.Extract();
  EXPECT_EQ(run.files.events, std::vector<std::wstring>{L"create " + kFolder + L"OK.ico"});
  for (std::size_t i = 0; i + 1 < result.groups.size(); ++i)
    EXPECT_EQ(result.groups[i].result, GroupResult::BadName) << Narrow(result.groups[i].name);
  for (const wchar_t* plain : {L"COM", L"COM10", L"CONSOLE", L"LPT0", L"MAIN ICON", L"..", L"ICON.1", L"Ä"})
    EXPECT_TRUE(IsPlainFileName(plain)) << Narrow(plain);
  EXPECT_FALSE(IsPlainFileName(L""));
}

TEST(IconExtractor, AFolderThatCannotBeWrittenIsReported) {
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Number(1), GroupDirectory({1})},
                                            {ResourceName::Number(2), GroupDirectory({1})}},
                                 .images = {{1, BitmapImage(16, 16, 8)}}};
  run.files.readOnlyFolders.insert(kFolder);
  const ExtractResult result = run.Extract();
  EXPECT_EQ(result.status, ExtractResult::Status::NotWritable);
  EXPECT_TRUE(result.ran());
  EXPECT_EQ(result.firstError, 5u);
  EXPECT_TRUE(run.files.files.empty());
  EXPECT_EQ(ExtractMessage(result, 1), L"Could not write icons to C:\\Apps\\");
  EXPECT_EQ(ExtractMessage(result, 0), L"Konnte Icons nicht schreiben nach C:\\Apps\\");

  // With one file there already, nothing written still means the folder refused.
  run.files.files[kFolder + L"1.ico"] = {};
  EXPECT_EQ(run.Extract().status, ExtractResult::Status::NotWritable);
}

TEST(IconExtractor, ATargetNotWrittenInFullIsRemoved) {
  const ByteVector image = BitmapImage(16, 16, 8);
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Number(1), GroupDirectory({1})},
                                            {ResourceName::Number(2), GroupDirectory({1})}},
                                 .images = {{1, image}}};
  for (std::size_t room : {std::size_t{0}, std::size_t{5}, std::size_t{22}, 22 + image.size() - 1}) {
    SCOPED_TRACE(room);
    run.files.files.clear();
    run.files.events.clear();
    run.files.roomFor = {{kFolder + L"1.ico", room}};
    const ExtractResult result = run.Extract();
    EXPECT_EQ(result.status, ExtractResult::Status::Done);
    EXPECT_EQ(result.groups.at(0).result, GroupResult::WriteFailed);
    EXPECT_EQ(result.groups.at(0).error, 112u);
    EXPECT_EQ(result.firstError, 112u);
    EXPECT_EQ(run.files.files.count(kFolder + L"1.ico"), 0u);
    EXPECT_EQ(run.File(L"2.ico").size(), 22 + image.size());
    EXPECT_EQ(run.files.events, (std::vector<std::wstring>{L"create " + kFolder + L"1.ico",
                                                           L"remove " + kFolder + L"1.ico",
                                                           L"create " + kFolder + L"2.ico"}));
  }
  // Every target failing: nothing could be written into the folder.
  run.files.files.clear();
  run.files.roomFor = {{kFolder + L"1.ico", 0}, {kFolder + L"2.ico", 0}};
  EXPECT_EQ(run.Extract().status, ExtractResult::Status::NotWritable);
}

TEST(IconExtractor, WriteIconGroupFileFindsTextThenNumber) {
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Number(7), GroupDirectory({1})},
                                            {ResourceName::Text(L"007"), GroupDirectory({1, 1})},
                                            {ResourceName::Text(L"MAINICON"), GroupDirectory({1, 1, 1})}},
                                 .images = {{1, BitmapImage(16, 16, 8)}}};
  struct Case {
    const wchar_t* name;
    GroupResult result;
    std::uint32_t count;
  };
  const Case cases[] = {
      {L"MAINICON", GroupResult::Written, 3}, {L"007", GroupResult::Written, 2}, {L"7", GroupResult::Written, 1},
      {L"00007", GroupResult::Written, 1},    {L"8", GroupResult::Unreadable, 0}, {L"65543", GroupResult::Unreadable, 0},
      {L"-7", GroupResult::Unreadable, 0},    {L"OTHER", GroupResult::Unreadable, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    run.files.files.clear();
    run.files.events.clear();
    const std::wstring target = L"D:\\out\\x.ico";
    const GroupOutcome outcome = WriteIconGroupFile(run.loader, run.files, kSource, target, c.name);
    EXPECT_EQ(outcome.result, c.result);
    if (c.result == GroupResult::Written) EXPECT_EQ(Get16(run.files.files.at(target), 4), c.count);
    else EXPECT_TRUE(run.files.events.empty()) << "a target was created for a group not found";
  }
}

TEST(IconExtractor, TheSourceIsLoadedBeforeATargetIsCreated) {
  Scene run;
  run.loader.onLoad = [&] { EXPECT_TRUE(run.files.events.empty()); };
  const GroupOutcome outcome = WriteIconGroupFile(run.loader, run.files, kSource, kFolder + L"1.ico", L"1");
  EXPECT_EQ(outcome.result, GroupResult::Unreadable);
  EXPECT_TRUE(run.files.events.empty());
  EXPECT_EQ(run.loader.loads, std::vector<std::wstring>{kSource});
}

TEST(IconExtractor, TheSourceIsLoadedOnceForAllGroups) {
  Scene run;
  run.loader.modules[kSource] = {.groups = {{ResourceName::Number(1), GroupDirectory({1})},
                                            {ResourceName::Number(2), GroupDirectory({1})}},
                                 .images = {{1, BitmapImage(16, 16, 8)}}};
  run.Extract();
  EXPECT_EQ(run.loader.loads.size(), 1u);
}

}  // namespace
}  // namespace corvel::icons
