// The built-in font: its table layout, the two glyphs given byte for byte, and the legibility
// checks every glyph must pass.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "runtime/internal/font.h"

using namespace orvelt;

namespace {

std::array<uint8_t, 16> GlyphBytes(int code) {
  std::array<uint8_t, 16> rows{};
  for (int row = 0; row < 16; ++row) rows[row] = orvelt::GlyphRow(code, row);
  return rows;
}

TEST(Font, TableHoldsSixteenRowsOfNinetySixBytes) {
  EXPECT_EQ(orvelt::kFontBitmap.size(), 1536u);
  // Row r of glyph g is byte r * 96 + g.
  EXPECT_EQ(orvelt::kFontBitmap[2 * 96 + ('7' - 32)], 0xFE);
  EXPECT_EQ(orvelt::kFontBitmap[6 * 96 + ('A' - 32)], 0xFE);
  EXPECT_EQ(orvelt::kFontBitmap[3 * 96 + ('A' - 32)], 0xC6);
}

TEST(Font, GivenGlyphsAreExact) {
  struct Row {
    int code;
    std::array<uint8_t, 16> bytes;
  };
  const Row rows[] = {
      {'7', {0x00, 0x00, 0xFE, 0xC0, 0xC0, 0x60, 0x30, 0x18, 0x0C, 0x06, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {'A', {0x00, 0x00, 0x7C, 0xC6, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6, 0xC6, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {' ', {}},
  };
  for (const Row& row : rows) EXPECT_EQ(GlyphBytes(row.code), row.bytes) << static_cast<char>(row.code);
}

TEST(Font, EveryVisibleGlyphDrawsSomethingAndDiffersFromTheOthers) {
  std::set<std::array<uint8_t, 16>> seen;
  for (int code = 33; code <= 127; ++code) {
    std::array<uint8_t, 16> bytes = GlyphBytes(code);
    EXPECT_NE(bytes, (std::array<uint8_t, 16>{})) << code;
    EXPECT_TRUE(seen.insert(bytes).second) << "glyph " << code << " repeats another";
  }
}

// No glyph reaches into the two rows above capitals and digits; those also end above row 11.
TEST(Font, EveryGlyphLeavesTheTopTwoRowsEmpty) {
  for (int code = 32; code <= 127; ++code) {
    EXPECT_EQ(orvelt::GlyphRow(code, 0), 0) << static_cast<char>(code);
    EXPECT_EQ(orvelt::GlyphRow(code, 1), 0) << static_cast<char>(code);
    bool capitalOrDigit = (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
    if (capitalOrDigit) {
      EXPECT_EQ(orvelt::GlyphRow(code, 11), 0) << static_cast<char>(code);
    }
  }
}

// Letters keep their leftmost column free, so that neighbours never touch.
TEST(Font, LettersLeaveTheLeftColumnFree) {
  for (int code = 32; code <= 127; ++code) {
    bool letterOrDigit = (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || (code >= '0' && code <= '9');
    if (!letterOrDigit) continue;
    for (int row = 0; row < 16; ++row) EXPECT_EQ(orvelt::GlyphRow(code, row) & 1, 0) << static_cast<char>(code);
  }
}

}  // namespace
