// The rasteriser: shapes are sampled at pixel centres (x + 0.5, y + 0.5), covering the centres from
// a shape's left and top edges up to, but not including, its right and bottom edges. Every loop is
// clamped to the canvas first, so huge or far-away shapes cost no more than the canvas holds.
#include "runtime/internal/canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "runtime/internal/font.h"

namespace orvelt {

namespace {

struct PixelRange {
  int64_t first = 0;
  int64_t last = -1;  // empty when last < first
};

// The pixels whose centres i + 0.5 satisfy lo <= i + 0.5 < hi, within 0..limit-1.
PixelRange CentresIn(double lo, double hi, int limit) {
  double first = std::max(std::ceil(lo - 0.5), 0.0);
  double last = std::min(std::ceil(hi - 0.5) - 1.0, static_cast<double>(limit) - 1.0);
  if (last < first) return {};
  return {static_cast<int64_t>(first), static_cast<int64_t>(last)};
}

bool AllFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// A line's pixels along its major axis: the centres from the start (included) towards the end
// (excluded), so the start pixel is always drawn and the end pixel is left to the closing point.
PixelRange MajorAxisPixels(double start, double end, int limit) {
  if (start <= end) return CentresIn(start, end, limit);
  double first = std::max(std::floor(end - 0.5) + 1.0, 0.0);
  double last = std::min(std::floor(start - 0.5), static_cast<double>(limit) - 1.0);
  if (last < first) return {};
  return {static_cast<int64_t>(first), static_cast<int64_t>(last)};
}

// The oval's polygon point i of n, at the angle 360 * i / n degrees.
struct OvalShape {
  double cx, cy, a, b, n;

  double Angle(double i) const {
    if (i < 0) i += n;
    return 2.0 * std::numbers::pi * i / n;
  }
  double X(double i) const { return cx + a * std::cos(Angle(i)); }
  double Y(double i) const { return cy - b * std::sin(Angle(i)); }

  // Where the row through yc leaves the polygon on the right. The right-hand chain runs from the
  // bottom point (i = -n/4) up to the top point (i = n/4) with y falling all the way, so the edge
  // that crosses the row follows from the arcsine; the search corrects rounding by a step or two.
  double RightCrossing(double yc) const {
    double quarter = n / 4.0;
    double t = std::clamp((cy - yc) / b, -1.0, 1.0);
    double k = std::floor(std::asin(t) * n / (2.0 * std::numbers::pi));
    k = std::clamp(k, -quarter, quarter - 1.0);
    for (int step = 0; step < 8; ++step) {
      if (yc > Y(k) && k > -quarter) {
        k -= 1.0;
      } else if (yc < Y(k + 1.0) && k + 1.0 < quarter) {
        k += 1.0;
      } else {
        double y0 = Y(k), y1 = Y(k + 1.0), x0 = X(k), x1 = X(k + 1.0);
        if (y0 == y1) return std::max(x0, x1);
        return x0 + (yc - y0) * (x1 - x0) / (y1 - y0);
      }
    }
    // Points too many to tell apart in double precision lie on the ellipse itself.
    return cx + a * std::sqrt(std::max(0.0, 1.0 - t * t));
  }
};

}  // namespace

uint32_t PackPixel(Rgb colour) {
  return 0xFF000000u | (static_cast<uint32_t>(colour.r) << 16) |
         (static_cast<uint32_t>(colour.g) << 8) | colour.b;
}

Rgb UnpackPixel(uint32_t pixel) {
  return {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
          static_cast<uint8_t>(pixel)};
}

void Canvas::Resize(int width, int height) {
  width_ = std::clamp(width, 1, kMaxCanvasSide);
  height_ = std::clamp(height, 1, kMaxCanvasSide);
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), PackPixel({}));
}

Rgb Canvas::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  return UnpackPixel(pixels_[static_cast<size_t>(y) * width_ + x]);
}

void Canvas::Fill(Rgb colour) { std::fill(pixels_.begin(), pixels_.end(), PackPixel(colour)); }

void Canvas::Plot(int64_t x, int64_t y, uint32_t pixel) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)] = pixel;
}

void Canvas::Span(int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
  if (y < 0 || y >= height_) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, width_ - 1);
  if (x1 < x0) return;
  uint32_t* row = pixels_.data() + static_cast<size_t>(y) * width_;
  std::fill(row + x0, row + x1 + 1, pixel);
}

// The point primitive at (x + 0.5, y + 0.5) lights the pixel that holds it.
void Canvas::Point(float x, float y, Rgb colour) {
  double px = std::floor(static_cast<double>(x) + 0.5);
  double py = std::floor(static_cast<double>(y) + 0.5);
  if (!AllFinite({px, py}) || px < 0 || py < 0 || px >= width_ || py >= height_) return;
  Plot(static_cast<int64_t>(px), static_cast<int64_t>(py), PackPixel(colour));
}

// One pixel per column (or per row, for steep lines), at the line's height over the pixel centre;
// then the end point, so that both end pixels are set.
void Canvas::Line(float x1, float y1, float x2, float y2, Rgb colour) {
  double sx = static_cast<double>(x1) + 0.5, sy = static_cast<double>(y1) + 0.5;
  double ex = static_cast<double>(x2) + 0.5, ey = static_cast<double>(y2) + 0.5;
  if (AllFinite({sx, sy, ex, ey})) {
    uint32_t pixel = PackPixel(colour);
    double dx = ex - sx, dy = ey - sy;
    if (dx != 0.0 && std::fabs(dx) >= std::fabs(dy)) {
      PixelRange columns = MajorAxisPixels(sx, ex, width_);
      for (int64_t i = columns.first; i <= columns.last; ++i) {
        double y = sy + (static_cast<double>(i) + 0.5 - sx) * (dy / dx);
        if (y >= 0 && y < height_) Plot(i, static_cast<int64_t>(y), pixel);
      }
    } else if (dy != 0.0) {
      PixelRange rows = MajorAxisPixels(sy, ey, height_);
      for (int64_t j = rows.first; j <= rows.last; ++j) {
        double x = sx + (static_cast<double>(j) + 0.5 - sy) * (dx / dy);
        if (x >= 0 && x < width_) Plot(static_cast<int64_t>(x), j, pixel);
      }
    }
  }
  Point(x2, y2, colour);
}

// The quadrilateral (x, y), (x + w, y), (x + w, y + h), (x, y + h): a negative size extends the
// rectangle to the left or upward.
void Canvas::FilledRect(float x, float y, float w, float h, Rgb colour) {
  double x0 = x, y0 = y, x1 = x0 + static_cast<double>(w), y1 = y0 + static_cast<double>(h);
  if (!AllFinite({x0, y0, x1, y1})) return;
  PixelRange columns = CentresIn(std::min(x0, x1), std::max(x0, x1), width_);
  PixelRange rows = CentresIn(std::min(y0, y1), std::max(y0, y1), height_);
  if (columns.last < columns.first) return;
  uint32_t pixel = PackPixel(colour);
  for (int64_t j = rows.first; j <= rows.last; ++j) Span(j, columns.first, columns.last, pixel);
}

// A filled polygon through OvalPointCount points on the ellipse inscribed in the rectangle. The
// polygon is symmetric about its vertical axis, so each row's left end mirrors its right end.
void Canvas::FilledOval(float x, float y, float w, float h, Rgb colour) {
  double rx = static_cast<double>(w) / 2.0, ry = static_cast<double>(h) / 2.0;
  OvalShape oval{static_cast<double>(x) + rx, static_cast<double>(y) + ry, std::fabs(rx),
                 std::fabs(ry), OvalPointCount(w, h)};
  if (!AllFinite({oval.cx, oval.cy, oval.a, oval.b, oval.n}) || oval.a == 0 || oval.b == 0) return;
  uint32_t pixel = PackPixel(colour);
  double top = oval.cy - oval.b;
  PixelRange rows = CentresIn(top, oval.cy + oval.b, height_);
  for (int64_t j = rows.first; j <= rows.last; ++j) {
    double yc = static_cast<double>(j) + 0.5;
    if (yc <= top) continue;  // the top point alone covers no area
    double right = oval.RightCrossing(yc);
    double left = oval.cx - (right - oval.cx);
    PixelRange columns = CentresIn(left, right, width_);
    if (columns.first <= columns.last) Span(j, columns.first, columns.last, pixel);
  }
}

// Each glyph is a textured 8x16 quad at the pen position, sampled at pixel centres, which lands
// its top-left texel on the pixel ceil(pen - 0.5).
void Canvas::TextAt(const Text& text, float x, float y, Rgb colour) {
  double penX = x, penY = y;
  if (!AllFinite({penX, penY})) return;
  double top = std::ceil(penY - 0.5);
  if (top >= height_ || top + kGlyphHeight <= 0) return;
  uint32_t pixel = PackPixel(colour);
  for (char16_t code : text) {
    if (code < 32 || code > 127) continue;
    double left = std::ceil(penX - 0.5);
    if (left >= width_) return;  // the pen only moves right
    if (left + kGlyphWidth > 0) Glyph(code, static_cast<int64_t>(left), static_cast<int64_t>(top), pixel);
    penX += kGlyphWidth;
  }
}

void Canvas::Glyph(int code, int64_t left, int64_t top, uint32_t pixel) {
  for (int row = 0; row < kGlyphHeight; ++row) {
    uint8_t bits = GlyphRow(code, row);
    for (int column = 0; bits != 0; ++column, bits >>= 1) {
      if (bits & 1u) Plot(left + column, top + row, pixel);
    }
  }
}

double OvalPointCount(float w, float h) {
  double sum = std::trunc(std::fabs(static_cast<double>(w) / 2.0) + std::fabs(static_cast<double>(h) / 2.0));
  if (!(sum >= 12.0)) return std::isnan(sum) ? sum : 12.0;
  return sum - std::fmod(sum, 4.0);
}

int TextWidthInPixels(const Text& text) {
  int64_t drawn = std::count_if(text.begin(), text.end(), [](char16_t c) { return c >= 32 && c <= 127; });
  return static_cast<int>(std::min<int64_t>(drawn * kGlyphWidth, INT_MAX));
}

}  // namespace orvelt
