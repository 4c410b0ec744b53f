// The GUI driver's PNG writer, read back by an independent minimal reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gui/png_writer.h"

namespace {

using corvel::gui::Adler32;
using corvel::gui::Crc32;
using corvel::gui::EncodePngRgb;
using corvel::gui::ZlibStored;

std::uint32_t BigEndian32(const std::string& s, std::size_t at) {
  return (std::uint32_t(std::uint8_t(s[at])) << 24) | (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
         (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

// Inflates a zlib stream made only of stored blocks; fails the test on any
// structural fault (header check, LEN/NLEN, BFINAL placement, Adler-32).
std::string InflateStored(const std::string& z) {
  EXPECT_GE(z.size(), 2u + 5u + 4u);
  if (z.size() < 11) return {};
  EXPECT_EQ(std::uint8_t(z[0]) & 0x0F, 8);  // deflate
  EXPECT_EQ(((std::uint8_t(z[0]) << 8) | std::uint8_t(z[1])) % 31, 0);
  std::string out;
  std::size_t pos = 2;
  bool final = false;
  while (!final) {
    if (pos + 5 > z.size()) {
      ADD_FAILURE() << "stream ends inside a block header";
      return out;
    }
    const std::uint8_t head = std::uint8_t(z[pos]);
    final = head & 1;
    EXPECT_EQ(head >> 1, 0) << "not a stored block";
    const unsigned len = std::uint8_t(z[pos + 1]) | (std::uint8_t(z[pos + 2]) << 8);
    const unsigned nlen = std::uint8_t(z[pos + 3]) | (std::uint8_t(z[pos + 4]) << 8);
    EXPECT_EQ(len ^ 0xFFFFu, nlen);
    pos += 5;
    if (pos + len > z.size()) {
      ADD_FAILURE() << "block longer than the stream";
      return out;
    }
    out.append(z, pos, len);
    pos += len;
  }
  EXPECT_EQ(pos + 4, z.size()) << "bytes after the Adler-32 trailer";
  if (pos + 4 <= z.size()) {
    EXPECT_EQ(BigEndian32(z, pos), Adler32(out));
  }
  return out;
}

TEST(PngWriter, CrcMatchesKnownValues) {
  struct Case { std::string in; std::uint32_t crc; };
  const Case cases[] = {
      {"", 0x00000000u},
      {"123456789", 0xCBF43926u},
      {"IEND", 0xAE426082u},
      {std::string(100000, '\xff'), 0x68C6CEC4u},
  };
  for (const auto& c : cases) EXPECT_EQ(Crc32(c.in), c.crc) << c.in.size() << " bytes";
}

TEST(PngWriter, AdlerMatchesKnownValues) {
  struct Case { std::string in; std::uint32_t adler; };
  const Case cases[] = {
      {"", 0x00000001u},
      {"Wikipedia", 0x11E60398u},
      {std::string(100000, '\xff'), 0x149A302Cu},  // both sums wrap the modulus
  };
  for (const auto& c : cases) EXPECT_EQ(Adler32(c.in), c.adler) << c.in.size() << " bytes";
}

TEST(PngWriter, StoredStreamRoundTripsAcrossBlockLimits) {
  for (std::size_t size : {0u, 1u, 65534u, 65535u, 65536u, 131070u, 200001u}) {
    std::string raw(size, '\0');
    for (std::size_t i = 0; i < size; ++i) raw[i] = char(i * 7 + i / 251);
    EXPECT_EQ(InflateStored(ZlibStored(raw)), raw) << size << " bytes";
  }
}

TEST(PngWriter, FileHasValidChunksAndRows) {
  struct Case { std::uint32_t w, h; };
  for (const Case c : {Case{1, 1}, Case{3, 2}, Case{700, 421}}) {
    std::string rgb(std::size_t(c.w) * 3 * c.h, '\0');
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = char(i % 253);
    const std::string png = EncodePngRgb(c.w, c.h, rgb);
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

    std::vector<std::string> types;
    std::string header, idat;
    std::size_t pos = 8;
    while (pos + 12 <= png.size()) {
      const std::uint32_t len = BigEndian32(png, pos);
      ASSERT_LE(pos + 12 + len, png.size());
      const std::string body = png.substr(pos + 4, 4 + len);
      EXPECT_EQ(BigEndian32(png, pos + 8 + len), Crc32(body)) << body.substr(0, 4);
      types.push_back(body.substr(0, 4));
      if (types.back() == "IHDR") header = body.substr(4);
      if (types.back() == "IDAT") idat += body.substr(4);
      pos += 12 + len;
    }
    EXPECT_EQ(pos, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(BigEndian32(header, 0), c.w);
    EXPECT_EQ(BigEndian32(header, 4), c.h);
    EXPECT_EQ(header.substr(8), std::string("\x08\x02\0\0\0", 5));

    const std::string rows = InflateStored(idat);
    const std::size_t stride = std::size_t(c.w) * 3;
    ASSERT_EQ(rows.size(), (stride + 1) * c.h);
    for (std::uint32_t y = 0; y < c.h; ++y) {
      EXPECT_EQ(rows[y * (stride + 1)], '\0') << "row " << y;
      EXPECT_EQ(rows.substr(y * (stride + 1) + 1, stride), rgb.substr(y * stride, stride)) << "row " << y;
    }
  }
}

TEST(PngWriter, RefusesPixelDataShorterThanTheImage) {
  EXPECT_TRUE(EncodePngRgb(2, 2, std::string(11, 'x')).empty());
  EXPECT_FALSE(EncodePngRgb(2, 2, std::string(12, 'x')).empty());
}

}  // namespace
