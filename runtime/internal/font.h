// The built-in 8x16 font: 96 glyphs for the character codes 32 to 127.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace orvelt {

inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 16;
inline constexpr int kGlyphCount = 96;
inline constexpr int kFirstGlyphCode = 32;

// 16 pixel rows from top to bottom, each holding 96 bytes: byte g of row r is that row of glyph g.
// Bit b of a byte (value 2^b) is the pixel in column b, bit 0 the leftmost; a set bit is drawn.
extern const std::array<uint8_t, kGlyphHeight * kGlyphCount> kFontBitmap;

// Row `row` of the glyph for `code` (32 to 127).
inline uint8_t GlyphRow(int code, int row) {
  return kFontBitmap[static_cast<size_t>(row * kGlyphCount + (code - kFirstGlyphCode))];
}

}  // namespace orvelt
