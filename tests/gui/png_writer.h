// A minimal PNG encoder for the GUI driver's screenshots: 8-bit RGB, no
// filtering, a zlib stream of stored (uncompressed) deflate blocks. Portable
// and header-only so the unit tests can check it natively.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvel::gui {

// CRC-32 as PNG chunks use it (reflected polynomial 0xEDB88320).
inline std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

// Adler-32, the zlib stream's checksum of the uncompressed data.
inline std::uint32_t Adler32(std::string_view bytes) {
  constexpr std::uint32_t kMod = 65521;
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : bytes) {
    a = (a + c) % kMod;
    b = (b + a) % kMod;
  }
  return (b << 16) | a;
}

namespace png_detail {
inline void PutBigEndian32(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}

inline void PutChunk(std::string& out, std::string_view type, std::string_view data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  std::string body(type);
  body += data;
  out += body;
  PutBigEndian32(out, Crc32(body));
}
}  // namespace png_detail

// zlib stream (RFC 1950) holding `raw` in stored deflate blocks (RFC 1951),
// each at most 65535 bytes; the last block carries BFINAL.
inline std::string ZlibStored(std::string_view raw) {
  std::string out;
  out += '\x78';  // CM 8, window 32 K
  out += '\x01';  // no preset dictionary, fastest; 0x7801 is a multiple of 31
  std::size_t pos = 0;
  do {
    const std::size_t len = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
    const bool last = pos + len == raw.size();
    out += static_cast<char>(last ? 1 : 0);  // BFINAL, BTYPE 00
    out += static_cast<char>(len & 0xFF);
    out += static_cast<char>(len >> 8);
    out += static_cast<char>(~len & 0xFF);
    out += static_cast<char>((~len >> 8) & 0xFF);
    out.append(raw.substr(pos, len));
    pos += len;
  } while (pos < raw.size());
  png_detail::PutBigEndian32(out, Adler32(raw));
  return out;
}

// A PNG file of `width` x `height` pixels; `rgb` holds the rows top-down,
// three bytes (R, G, B) per pixel, no padding. Empty when `rgb` is too short.
inline std::string EncodePngRgb(std::uint32_t width, std::uint32_t height, std::string_view rgb) {
  const std::size_t row = static_cast<std::size_t>(width) * 3;
  if (rgb.size() / (row ? row : 1) < height) return {};
  std::string raw;
  raw.reserve((row + 1) * height);
  for (std::uint32_t y = 0; y < height; ++y) {
    raw += '\0';  // filter type None
    raw.append(rgb.substr(y * row, row));
  }
  std::string header;
  png_detail::PutBigEndian32(header, width);
  png_detail::PutBigEndian32(header, height);
  header += '\x08';  // bit depth
  header += '\x02';  // colour type RGB
  header += '\0';    // compression deflate
  header += '\0';    // filter method 0
  header += '\0';    // no interlace

  std::string out("\x89PNG\r\n\x1a\n", 8);
  png_detail::PutChunk(out, "IHDR", header);
  png_detail::PutChunk(out, "IDAT", ZlibStored(raw));
  png_detail::PutChunk(out, "IEND", {});
  return out;
}

}  // namespace corvel::gui
