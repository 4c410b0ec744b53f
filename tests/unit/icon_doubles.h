// Resources and files for the icon extractor's tests: a module made of
// tables, the bytes of group directories, bitmap and PNG images built here,
// and an in-memory folder that can refuse to create or to write. Every
// resource lives in a heap block of exactly its size, so a read past its end
// is caught by the address sanitizer.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/path.h"
#include "icons/icon_extractor.h"

namespace corvel::icons::fake {

using ByteVector = std::vector<std::uint8_t>;

inline void Put16(ByteVector& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(ByteVector& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void PutBe32(ByteVector& b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
}
inline std::uint32_t Get16(const ByteVector& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
inline std::uint32_t Get32(const ByteVector& b, std::size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

struct GroupEntry {
  std::uint16_t id;
  std::uint32_t bytesInResource = 0;  // never read by the extractor
  std::uint8_t width = 0, height = 0, colours = 0;
};

// A group directory: reserved, type 1, count, then 14-byte entries.
inline ByteVector GroupDirectoryOf(const std::vector<GroupEntry>& entries, int count = -1) {
  ByteVector b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, count < 0 ? static_cast<std::uint32_t>(entries.size()) : static_cast<std::uint32_t>(count));
  for (const GroupEntry& e : entries) {
    b.push_back(e.width);
    b.push_back(e.height);
    b.push_back(e.colours);
    b.push_back(0);
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, e.bytesInResource);
    Put16(b, e.id);
  }
  return b;
}
inline ByteVector GroupDirectory(const std::vector<std::uint16_t>& ids, int count = -1) {
  std::vector<GroupEntry> entries;
  for (auto id : ids) entries.push_back({.id = id});
  return GroupDirectoryOf(entries, count);
}

// A bitmap icon image: the 40-byte header (height twice the icon's, for the
// mask), then `body` bytes of a recognisable pattern.
inline ByteVector BitmapImage(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                              std::uint16_t planes = 1, std::size_t body = 64, std::int32_t headerHeight = 0) {
  ByteVector b;
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(headerHeight ? headerHeight : height * 2));
  Put16(b, planes);
  Put16(b, bitCount);
  Put32(b, 0);
  Put32(b, static_cast<std::uint32_t>(body));  // image size: zeroed in the file only
  for (int i = 0; i < 16; ++i) b.push_back(0);
  for (std::size_t i = 0; i < body; ++i) b.push_back(static_cast<std::uint8_t>(i * 7 + width));
  return b;
}

// A PNG image: signature, IHDR chunk (CRC not checked by anyone), some data.
inline ByteVector PngImage(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colourType,
                           std::size_t body = 40) {
  ByteVector b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutBe32(b, 13);
  for (char c : std::string("IHDR")) b.push_back(static_cast<std::uint8_t>(c));
  PutBe32(b, width);
  PutBe32(b, height);
  b.push_back(depth);
  b.push_back(colourType);
  b.push_back(0);
  b.push_back(0);
  b.push_back(0);
  PutBe32(b, 0x12345678);
  for (std::size_t i = 0; i < body; ++i) b.push_back(static_cast<std::uint8_t>(0xA0 + i));
  return b;
}

// Bytes in a heap block of exactly their size.
class ExactBytes {
 public:
  explicit ExactBytes(const ByteVector& v) : size_(v.size()), data_(new std::uint8_t[v.size()]) {
    if (size_) std::memcpy(data_.get(), v.data(), size_);
  }
  Bytes span() const { return {data_.get(), size_}; }
  ByteVector copy() const { return ByteVector(data_.get(), data_.get() + size_); }

 private:
  std::size_t size_;
  std::unique_ptr<std::uint8_t[]> data_;
};

struct ModuleTables {
  std::vector<std::pair<ResourceName, ByteVector>> groups;  // in enumeration order
  std::map<std::uint16_t, ByteVector> images;
  std::set<std::uint16_t> unreadableImages;  // their size cannot be taken
};

class TableModule : public IconModule {
 public:
  explicit TableModule(const ModuleTables& t) : unreadable_(t.unreadableImages) {
    for (const auto& [name, bytes] : t.groups) groups_.emplace_back(name, std::make_unique<ExactBytes>(bytes));
    for (const auto& [id, bytes] : t.images) images_.emplace(id, std::make_unique<ExactBytes>(bytes));
  }
  std::vector<ResourceName> GroupNames() override {
    std::vector<ResourceName> names;
    for (const auto& g : groups_) names.push_back(g.first);
    return names;
  }
  ResourceData Group(const ResourceName& name) override {
    ++groupLookups;
    for (const auto& [n, bytes] : groups_)
      if (n.numeric == name.numeric && (n.numeric ? n.id == name.id : n.text == name.text))
        return {ResourceData::Status::Found, bytes->span()};
    return {};
  }
  ResourceData Image(std::uint16_t id) override {
    if (unreadable_.count(id)) return {ResourceData::Status::Unreadable, {}};
    auto it = images_.find(id);
    if (it == images_.end()) return {};
    return {ResourceData::Status::Found, it->second->span()};
  }
  // The bytes as they are now (to show that nothing was changed in memory).
  ByteVector ImageNow(std::uint16_t id) const { return images_.at(id)->copy(); }

  int groupLookups = 0;

 private:
  std::vector<std::pair<ResourceName, std::unique_ptr<ExactBytes>>> groups_;
  std::map<std::uint16_t, std::unique_ptr<ExactBytes>> images_;
  std::set<std::uint16_t> unreadable_;
};

class TableLoader : public IconModuleLoader {
 public:
  std::map<std::wstring, ModuleTables> modules;
  std::vector<std::wstring> loads;
  std::shared_ptr<TableModule> last;  // the module of the last load, kept after its caller let it go
  std::function<void()> onLoad;
  std::unique_ptr<IconModule> Load(const std::wstring& path) override {
    loads.push_back(path);
    if (onLoad) onLoad();
    auto it = modules.find(path);
    if (it == modules.end()) return nullptr;
    last = std::make_shared<TableModule>(it->second);
    return std::make_unique<Shared>(last);
  }

 private:
  struct Shared : IconModule {
    explicit Shared(std::shared_ptr<TableModule> m) : module(std::move(m)) {}
    std::vector<ResourceName> GroupNames() override { return module->GroupNames(); }
    ResourceData Group(const ResourceName& name) override { return module->Group(name); }
    ResourceData Image(std::uint16_t id) override { return module->Image(id); }
    std::shared_ptr<TableModule> module;
  };
};

// Files of an in-memory volume, path as key (no case folding).
class MemoryFiles : public IconFiles {
 public:
  std::map<std::wstring, ByteVector> files;
  std::set<std::wstring> readOnlyFolders;      // creating a file there fails with access denied (5)
  std::map<std::wstring, std::size_t> roomFor;  // a target taking only so many bytes (disk full, 112)
  std::function<void(const std::wstring&)> beforeCreate;  // another program racing us
  std::vector<std::wstring> events;            // "create X", "remove X"

  bool Exists(const std::wstring& path) override { return files.count(path) != 0; }
  Created CreateNew(const std::wstring& path) override {
    if (beforeCreate) beforeCreate(path);
    events.push_back(L"create " + path);
    if (files.count(path)) return {Created::Status::Exists, 80, nullptr};
    if (readOnlyFolders.count(FolderPart(path))) return {Created::Status::Failed, 5, nullptr};
    files[path];
    auto room = roomFor.find(path);
    return {Created::Status::Created, 0,
            std::make_unique<File>(files[path], room == roomFor.end() ? SIZE_MAX : room->second)};
  }
  bool Remove(const std::wstring& path) override {
    events.push_back(L"remove " + path);
    return files.erase(path) != 0;
  }

 private:
  class File : public IconTarget {
   public:
    File(ByteVector& into, std::size_t room) : into_(into), room_(room) {}
    bool Write(Bytes bytes, std::uint32_t& error) override {
      const std::size_t n = std::min(bytes.size(), room_ - std::min(room_, into_.size()));
      into_.insert(into_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
      if (n == bytes.size()) return true;
      error = 112;
      return false;
    }
    bool Close(std::uint32_t&) override { return true; }

   private:
    ByteVector& into_;
    std::size_t room_;
  };
};

// One entry of a written .ico file.
struct IcoEntry {
  std::uint32_t width, height, colours, reserved, planes, bitCount, bytes, offset;
  bool operator==(const IcoEntry&) const = default;
};
inline IcoEntry EntryOf(const ByteVector& ico, std::size_t index) {
  const std::size_t at = 6 + 16 * index;
  return {ico.at(at), ico.at(at + 1), ico.at(at + 2), ico.at(at + 3),
          Get16(ico, at + 4), Get16(ico, at + 6), Get32(ico, at + 8), Get32(ico, at + 12)};
}

}  // namespace corvel::icons::fake
