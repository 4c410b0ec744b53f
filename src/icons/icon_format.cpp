#include "icons/icon_format.h"

#include <algorithm>
#include <limits>

namespace corvel::icons {

namespace {

constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kGroupEntryIdOffset = 12;
constexpr std::size_t kBitmapHeaderSize = 40;
constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, chunk length and type, then the IHDR fields read here.
constexpr std::size_t kPngIhdrType = 12;
constexpr std::size_t kPngIhdrEnd = 8 + 8 + 13;

// Callers have checked the bounds.
std::uint16_t Le16(Bytes b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }
std::uint32_t Le32(Bytes b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}
std::uint32_t Be32(Bytes b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 |
         std::uint32_t{b[at + 3]};
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool IsPng(Bytes data) {
  return data.size() >= sizeof kPngSignature && std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin());
}

std::optional<IconImage> ReadPng(Bytes data) {
  if (data.size() < kPngIhdrEnd) return std::nullopt;
  if (!std::equal(data.begin() + kPngIhdrType, data.begin() + kPngIhdrType + 4, "IHDR")) return std::nullopt;
  const std::uint32_t width = Be32(data, 16), height = Be32(data, 20);
  const std::uint8_t depth = data[24], colourType = data[25];
  int channels = 0;
  switch (colourType) {
    case 0: channels = 1; break;  // grey
    case 2: channels = 3; break;  // RGB
    case 3: channels = 1; break;  // palette
    case 4: channels = 2; break;  // grey and alpha
    case 6: channels = 4; break;  // RGBA
    default: return std::nullopt;
  }
  IconImage image;
  // PNG limits both to 2^31 - 1; wider values only keep their low bits anyway.
  image.width = static_cast<std::int32_t>(width & 0x7FFFFFFF);
  image.height = static_cast<std::int32_t>(height & 0x7FFFFFFF);
  image.planes = 1;
  image.bitCount = static_cast<std::uint16_t>(depth * channels);
  image.png = true;
  image.data = data;
  return image;
}

// 2^depth below 8 bits per pixel, else 0 (the field has 8 bits).
std::uint8_t ColourCount(std::uint32_t depth) { return depth < 8 ? static_cast<std::uint8_t>(1u << depth) : 0; }

}  // namespace

std::optional<std::vector<std::uint16_t>> ReadGroupDirectory(Bytes group) {
  if (group.size() < kGroupHeaderSize) return std::nullopt;
  const std::size_t count = Le16(group, 4);
  if (count == 0 || (group.size() - kGroupHeaderSize) / kGroupEntrySize < count) return std::nullopt;
  std::vector<std::uint16_t> ids;
  ids.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    ids.push_back(Le16(group, kGroupHeaderSize + i * kGroupEntrySize + kGroupEntryIdOffset));
  return ids;
}

std::optional<IconImage> ReadIconImage(Bytes data) {
  if (IsPng(data)) return ReadPng(data);
  if (data.size() < kBitmapHeaderSize) return std::nullopt;
  IconImage image;
  image.width = static_cast<std::int32_t>(Le32(data, 4));
  image.height = static_cast<std::int32_t>(Le32(data, 8)) / 2;
  image.planes = Le16(data, 12);
  image.bitCount = Le16(data, 14);
  image.data = data;
  return image;
}

std::optional<std::vector<std::uint8_t>> BuildIcoFile(const std::vector<IconImage>& images) {
  if (images.empty() || images.size() > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
  std::uint64_t total = kIcoHeaderSize + kIcoEntrySize * images.size();
  for (const IconImage& image : images) total += image.data.size();
  if (total > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(total));
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(kIcoHeaderSize + kIcoEntrySize * images.size());
  for (const IconImage& image : images) {
    out.push_back(static_cast<std::uint8_t>(image.width));
    out.push_back(static_cast<std::uint8_t>(image.height));
    out.push_back(ColourCount(image.ColourDepth()));
    out.push_back(0);
    Put16(out, image.planes);
    Put16(out, image.bitCount);
    Put32(out, static_cast<std::uint32_t>(image.data.size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(image.data.size());
  }
  for (const IconImage& image : images) {
    const std::size_t at = out.size();
    out.insert(out.end(), image.data.begin(), image.data.end());
    if (!image.png && image.data.size() >= kBitmapImageSizeField + 4)
      std::fill_n(out.begin() + at + kBitmapImageSizeField, 4, 0);
  }
  return out;
}

}  // namespace corvel::icons
