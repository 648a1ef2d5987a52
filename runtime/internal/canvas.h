// The software canvas: an RGBA framebuffer and the rasteriser that draws points, lines, filled
// rectangles, filled ovals and text into it, clipped to its edges.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/text.h"

namespace orvelt {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A pixel is packed as 0xAARRGGBB, the layout SDL calls ARGB8888: the byte order of the usual
// 24-bit X11 and Wayland surfaces, so presenting copies frames without converting them.
uint32_t PackPixel(Rgb colour);
Rgb UnpackPixel(uint32_t pixel);

// Sizes of a canvas are kept between 1 and this, so that no request can exhaust memory.
inline constexpr int kMaxCanvasSide = 8192;

class Canvas {
 public:
  // A new size clears every pixel to black.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint32_t* Pixels() const { return pixels_.data(); }
  // Black outside the canvas.
  Rgb PixelAt(int x, int y) const;

  void Fill(Rgb colour);
  void Point(float x, float y, Rgb colour);
  void Line(float x1, float y1, float x2, float y2, Rgb colour);
  void FilledRect(float x, float y, float w, float h, Rgb colour);
  void FilledOval(float x, float y, float w, float h, Rgb colour);
  void TextAt(const Text& text, float x, float y, Rgb colour);

 private:
  void Plot(int64_t x, int64_t y, uint32_t pixel);
  void Span(int64_t y, int64_t x0, int64_t x1, uint32_t pixel);  // x0..x1 inclusive, clipped
  void Glyph(int code, int64_t left, int64_t top, uint32_t pixel);

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// The number of polygon points an oval of this size is drawn with: truncation of |w/2| + |h/2|,
// at least 12, rounded down to a multiple of 4.
double OvalPointCount(float w, float h);
// 8 pixels per character with a code from 32 to 127.
int TextWidthInPixels(const Text& text);

}  // namespace orvelt
