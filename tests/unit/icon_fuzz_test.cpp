// Hostile resources for the icon reader: group directories whose counts run
// past their data, truncated and empty images, absurd header fields, missing
// and unreadable image ids, names with separators. Built with the address and
// undefined-behaviour sanitizers (a read outside a resource ends the run);
// the properties: whatever is written is a well-formed .ico of exactly the
// group's images, intact groups are all written, nothing lands outside the
// folder and no resource byte changes.
#include <gtest/gtest.h>

#include <random>

#include "icons/icon_extractor.h"
#include "icons/icon_format.h"
#include "unit/icon_doubles.h"

namespace corvel::icons {
namespace {

using namespace fake;

constexpr unsigned kSeed = 0xC0FFEE;
const std::wstring kSource = L"C:\\Hostile\\lib.dll";
const std::wstring kFolder = L"C:\\Hostile\\";

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}
  std::uint32_t Below(std::uint32_t n) { return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(rng_); }
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }
  std::uint32_t Any32() {
    static const std::uint32_t edges[] = {0, 1, 2, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF, 0x10000, 256, 40};
    return OneIn(2) ? edges[Below(std::size(edges))] : static_cast<std::uint32_t>(rng_());
  }
  ByteVector Random(std::size_t max) {
    ByteVector b(Below(static_cast<std::uint32_t>(max) + 1));
    for (auto& x : b) x = static_cast<std::uint8_t>(rng_());
    return b;
  }
  ByteVector Cut(ByteVector b) {
    b.resize(Below(static_cast<std::uint32_t>(b.size()) + 1));
    return b;
  }

  // An image that the reader must take.
  ByteVector GoodImage() {
    if (OneIn(4)) {
      static const std::uint8_t types[] = {0, 2, 3, 4, 6};
      static const std::uint8_t depths[] = {1, 2, 4, 8, 16};
      return PngImage(Any32(), Any32(), depths[Below(5)], types[Below(5)], Below(100));
    }
    return BitmapImage(static_cast<std::int32_t>(Any32()), 0, static_cast<std::uint16_t>(Any32()),
                       static_cast<std::uint16_t>(Any32()), Below(200), static_cast<std::int32_t>(Any32()));
  }
  // An image the reader may or may not take; reading it must stay inside it.
  ByteVector AnyImage() {
    switch (Below(5)) {
      case 0: return Cut(GoodImage());
      case 1: return Random(80);
      case 2: {
        ByteVector png = PngImage(16, 16, 8, 6, 0);
        png[25] = static_cast<std::uint8_t>(Below(256));
        return Cut(png);
      }
      case 3: return {};
      default: return GoodImage();
    }
  }
  ByteVector AnyDirectory(const std::vector<std::uint16_t>& ids) {
    std::vector<GroupEntry> entries;
    for (auto id : ids) entries.push_back({.id = id, .bytesInResource = Any32()});
    switch (Below(5)) {
      case 0: return GroupDirectoryOf(entries, static_cast<int>(ids.size() + 1 + Below(0xFFFF - ids.size())));
      case 1: return Cut(GroupDirectoryOf(entries));
      case 2: return Random(60);
      case 3: return GroupDirectoryOf(entries, 0);
      default: return GroupDirectoryOf(entries);
    }
  }
  std::wstring HostileName() {
    static const wchar_t alphabet[] = L"AB\\/:*?\"<>|. \t\x7F\x00C5";
    std::wstring name;
    for (std::uint32_t n = Below(6); n > 0; --n) name += alphabet[Below(std::size(alphabet) - 1)];
    return name;
  }

 private:
  std::mt19937 rng_;
};

struct Case {
  ModuleTables tables;
  std::vector<std::wstring> intact;  // groups that must be written
};

Case MakeCase(Generator& g) {
  Case c;
  const std::uint16_t images = static_cast<std::uint16_t>(1 + g.Below(8));
  std::vector<bool> good(images + 1);
  for (std::uint16_t id = 1; id <= images; ++id) {
    if (g.OneIn(8)) { c.tables.unreadableImages.insert(id); continue; }
    good[id] = g.OneIn(2);
    c.tables.images[id] = good[id] ? g.GoodImage() : g.AnyImage();
  }
  const std::uint32_t groups = 1 + g.Below(5);
  for (std::uint32_t i = 0; i < groups; ++i) {
    std::vector<std::uint16_t> ids;
    for (std::uint32_t n = g.Below(5); n > 0; --n) ids.push_back(static_cast<std::uint16_t>(g.Below(images + 3)));
    if (g.OneIn(3)) {
      // Intact: a plain unique name, a whole directory, good images only.
      std::vector<std::uint16_t> goodIds;
      for (std::uint16_t id = 1; id <= images; ++id)
        if (good[id] && g.OneIn(2)) goodIds.push_back(id);
      if (!goodIds.empty()) {
        ResourceName name = g.OneIn(2) ? ResourceName::Number(static_cast<std::uint16_t>(1000 + i))
                                       : ResourceName::Text(L"I" + std::to_wstring(i));
        c.intact.push_back(name.Display());
        c.tables.groups.push_back({name, GroupDirectory(goodIds)});
        continue;
      }
    }
    ResourceName name = g.OneIn(2) ? ResourceName::Number(static_cast<std::uint16_t>(g.Below(1000)))
                                   : ResourceName::Text(g.HostileName());
    c.tables.groups.push_back({name, g.AnyDirectory(ids)});
  }
  return c;
}

// The written file against the group it came from: header, entries in order
// with running offsets, each image's bytes as in its resource.
void CheckWrittenFile(const ByteVector& ico, const ByteVector& directory, const ModuleTables& tables) {
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Get16(ico, 0), 0u);
  EXPECT_EQ(Get16(ico, 2), 1u);
  const std::uint32_t count = Get16(ico, 4);
  ASSERT_GT(count, 0u);
  ASSERT_EQ(Get16(directory, 4), count);
  std::size_t offset = 6 + 16 * count;
  for (std::uint32_t i = 0; i < count; ++i) {
    const IcoEntry entry = EntryOf(ico, i);
    const ByteVector& image = tables.images.at(static_cast<std::uint16_t>(Get16(directory, 6 + 14 * i + 12)));
    ASSERT_EQ(entry.bytes, image.size());
    ASSERT_EQ(entry.offset, offset);
    ASSERT_LE(offset + image.size(), ico.size());
    ByteVector expected = image;
    const ByteVector signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool png = image.size() >= 8 && std::equal(signature.begin(), signature.end(), image.begin());
    if (!png) std::fill(expected.begin() + 20, expected.begin() + 24, 0);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), ico.begin() + static_cast<std::ptrdiff_t>(offset)));
    offset += image.size();
  }
  EXPECT_EQ(offset, ico.size());
}

TEST(IconFuzz, HostileResourcesNeverReadOutsideThemselves) {
  Generator g(kSeed);
  int written = 0, skipped = 0;
  for (int n = 0; n < 3000; ++n) {
    SCOPED_TRACE(n);
    const int writtenBefore = written;
    const Case c = MakeCase(g);
    TableLoader loader;
    loader.modules[kSource] = c.tables;
    MemoryFiles files;
    if (g.OneIn(10)) files.readOnlyFolders.insert(kFolder);
    const ExtractResult result = ExtractIconGroups(loader, files, kSource);
    ASSERT_EQ(result.groups.size(), c.tables.groups.size());

    for (std::size_t i = 0; i < result.groups.size(); ++i) {
      const GroupOutcome& outcome = result.groups[i];
      const std::wstring path = kFolder + outcome.name + L".ico";
      if (outcome.result != GroupResult::Written) continue;
      ASSERT_EQ(outcome.name, c.tables.groups[i].first.Display());
      ASSERT_TRUE(IsPlainFileName(outcome.name)) << outcome.name;
      ASSERT_EQ(files.files.count(path), 1u) << path;
      CheckWrittenFile(files.files.at(path), c.tables.groups[i].second, c.tables);
      ++written;
    }
    for (const auto& [path, bytes] : files.files) {
      ASSERT_TRUE(path.starts_with(kFolder) && path.ends_with(L".ico")) << path;
      EXPECT_EQ(path.find_first_of(L"\\/:", kFolder.size()), std::wstring::npos) << path;
    }
    ASSERT_EQ(written - writtenBefore, static_cast<int>(files.files.size()));
    if (files.readOnlyFolders.empty()) {
      for (const std::wstring& name : c.intact) EXPECT_EQ(files.files.count(kFolder + name + L".ico"), 1u) << name;
    }
    for (const auto& [id, bytes] : c.tables.images) EXPECT_EQ(loader.last->ImageNow(id), bytes);
    skipped += static_cast<int>(c.tables.groups.size() - files.files.size());
    if (HasFatalFailure()) return;
  }
  // The generator reaches both sides.
  EXPECT_GT(written, 1000);
  EXPECT_GT(skipped, 1000);
}

TEST(IconFuzz, ReadersOnRandomBytes) {
  Generator g(kSeed + 1);
  for (int n = 0; n < 20000; ++n) {
    const ExactBytes bytes(g.OneIn(2) ? g.Random(120) : g.Cut(g.GoodImage()));
    if (auto ids = ReadGroupDirectory(bytes.span())) {
      ASSERT_FALSE(ids->empty());
      ASSERT_LE(6 + 14 * ids->size(), bytes.span().size());
    }
    if (auto image = ReadIconImage(bytes.span())) {
      ASSERT_EQ(image->data.data(), bytes.span().data());
      ASSERT_EQ(image->data.size(), bytes.span().size());
      const auto ico = BuildIcoFile({*image});
      ASSERT_TRUE(ico.has_value());
      ASSERT_EQ(ico->size(), 22 + bytes.span().size());
    }
  }
}

}  // namespace
}  // namespace corvel::icons
