// The ICO layout and the two resource records it is made from: the group
// directory of an RT_GROUP_ICON resource and the header of each RT_ICON
// image. Every reader takes the resource's bytes as they are and checks each
// count and size against them; nothing here reads outside the span it gets.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvel::icons {

using Bytes = std::span<const std::uint8_t>;

// The image identifiers of a group directory, in the group's order. nullopt
// when the directory is shorter than its count says or has no entry.
std::optional<std::vector<std::uint16_t>> ReadGroupDirectory(Bytes group);

// One image of a group as its own data describes it. `data` views the
// resource's bytes, which are never changed: the zeroed image-size field of a
// bitmap exists only in what is written.
struct IconImage {
  std::int32_t width = 0;   // of the bitmap header, or the PNG header
  std::int32_t height = 0;  // a bitmap's header height (colour and mask) halved
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  bool png = false;
  Bytes data;
  // planes × bit count
  std::uint32_t ColourDepth() const { return std::uint32_t{planes} * bitCount; }
};

// nullopt when the bytes hold neither a whole bitmap information header (40
// bytes) nor a PNG signature followed by its IHDR chunk with a known colour
// type. A PNG image is 1 plane of bit depth × channels bits.
std::optional<IconImage> ReadIconImage(Bytes data);

inline constexpr std::size_t kIcoHeaderSize = 6;
inline constexpr std::size_t kIcoEntrySize = 16;
inline constexpr std::size_t kBitmapImageSizeField = 20;  // bytes 20-23 of a bitmap image

// The whole .ico file of one group: header, one entry per image from the
// image's own header, then the images in order; bitmaps with their
// image-size field written as 0, PNG data untouched. nullopt when there is no
// image or the file would not fit the format's 32-bit offsets.
std::optional<std::vector<std::uint8_t>> BuildIcoFile(const std::vector<IconImage>& images);

}  // namespace corvel::icons
