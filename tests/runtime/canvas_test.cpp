// The rasteriser, pixel by pixel: points, lines with both end pixels, rectangles by pixel
// centres, ovals as polygons of the given point count, glyph placement, clipping of huge shapes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

#include "runtime/internal/canvas.h"
#include "runtime/internal/font.h"

using namespace orvelt;

namespace {

using orvelt::Canvas;
using orvelt::Rgb;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{};

using PixelSet = std::set<std::pair<int, int>>;

Canvas Blank(int width = 32, int height = 24) {
  Canvas canvas;
  canvas.Resize(width, height);
  return canvas;
}

PixelSet Lit(const Canvas& canvas) {
  PixelSet lit;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.PixelAt(x, y) != kBlack) lit.insert({x, y});
  return lit;
}

PixelSet Block(int x0, int y0, int x1, int y1) {
  PixelSet block;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) block.insert({x, y});
  return block;
}

TEST(Canvas, NewCanvasIsBlackAndSizesAreKeptInBounds) {
  struct Row {
    int width, height, keptWidth, keptHeight;
  };
  const Row rows[] = {
      {640, 480, 640, 480}, {0, 0, 1, 1}, {-5, 7, 1, 7}, {100000, 3, orvelt::kMaxCanvasSide, 3},
  };
  for (const Row& row : rows) {
    Canvas canvas = Blank(row.width, row.height);
    EXPECT_EQ(canvas.Width(), row.keptWidth);
    EXPECT_EQ(canvas.Height(), row.keptHeight);
    EXPECT_TRUE(Lit(canvas).empty() || row.keptWidth > 1000);
  }
}

TEST(Canvas, PixelsArePackedAlphaRedGreenBlue) {
  EXPECT_EQ(orvelt::PackPixel({0x12, 0x34, 0x56}), 0xFF123456u);
  EXPECT_EQ(orvelt::UnpackPixel(0xFF123456u), (Rgb{0x12, 0x34, 0x56}));
}

TEST(Canvas, FillPaintsEveryPixel) {
  Canvas canvas = Blank(5, 4);
  canvas.Fill({1, 2, 3});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.PixelAt(x, y), (Rgb{1, 2, 3}));
}

TEST(Canvas, PointLightsThePixelHoldingItsCentre) {
  struct Row {
    float x, y;
    PixelSet lit;
  };
  const Row rows[] = {
      {3, 4, {{3, 4}}},       {0, 0, {{0, 0}}},    {31, 23, {{31, 23}}},   {2.4f, 1.6f, {{2, 2}}},
      {-0.4f, 0, {{0, 0}}},   {-0.6f, 0, {}},      {32, 0, {}},            {5, 24, {}},
      {1e30f, 1e30f, {}},     {-1e30f, 3, {}},     {std::nanf(""), 3, {}}, {3, std::numeric_limits<float>::infinity(), {}},
  };
  for (const Row& row : rows) {
    Canvas canvas = Blank();
    canvas.Point(row.x, row.y, kWhite);
    EXPECT_EQ(Lit(canvas), row.lit) << row.x << ", " << row.y;
  }
}

TEST(Canvas, LineSetsBothEndPixels) {
  struct Row {
    float x1, y1, x2, y2;
    PixelSet lit;
  };
  const Row rows[] = {
      {1, 1, 5, 1, Block(1, 1, 5, 1)},
      {5, 1, 1, 1, Block(1, 1, 5, 1)},
      {2, 0, 2, 4, Block(2, 0, 2, 4)},
      {2, 4, 2, 0, Block(2, 0, 2, 4)},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
      {0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {7, 7, 7, 7, {{7, 7}}},
      {-3, 2, 2, 2, Block(0, 2, 2, 2)},
      {30, 5, 40, 5, Block(30, 5, 31, 5)},
  };
  for (const Row& row : rows) {
    Canvas canvas = Blank();
    canvas.Line(row.x1, row.y1, row.x2, row.y2, kWhite);
    EXPECT_EQ(Lit(canvas), row.lit) << row.x1 << "," << row.y1 << " - " << row.x2 << "," << row.y2;
  }
}

// Between integer end points a line has one pixel per step along its longer axis, each next to
// the one before, from one end pixel to the other.
TEST(Canvas, LinesAreConnectedWithOnePixelPerStep) {
  const int ends[][4] = {{0, 0, 31, 23}, {31, 0, 0, 23}, {5, 20, 25, 2}, {0, 10, 31, 11},
                         {16, 0, 17, 23}, {3, 3, 28, 9},  {28, 9, 3, 3},  {10, 22, 12, 1}};
  for (const auto& e : ends) {
    Canvas canvas = Blank();
    canvas.Line(static_cast<float>(e[0]), static_cast<float>(e[1]), static_cast<float>(e[2]),
                static_cast<float>(e[3]), kWhite);
    PixelSet lit = Lit(canvas);
    size_t steps = static_cast<size_t>(std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1])));
    EXPECT_EQ(lit.size(), steps + 1);
    EXPECT_TRUE(lit.count({e[0], e[1]}));
    EXPECT_TRUE(lit.count({e[2], e[3]}));
    for (auto [x, y] : lit) {
      bool neighbour = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if ((dx || dy) && lit.count({x + dx, y + dy})) neighbour = true;
      EXPECT_TRUE(neighbour) << x << "," << y;
    }
  }
}

TEST(Canvas, FilledRectCoversItsPixelCentres) {
  struct Row {
    float x, y, w, h;
    PixelSet lit;
  };
  const Row rows[] = {
      {2, 3, 4, 5, Block(2, 3, 5, 7)},
      {0, 0, 1, 1, {{0, 0}}},
      {2, 3, 0, 5, {}},
      {2, 3, 4, 0, {}},
      {5, 5, -3, -2, Block(2, 3, 4, 4)},
      {5, 5, 3, -2, Block(5, 3, 7, 4)},
      {2.4f, 1, 2, 1, Block(2, 1, 3, 1)},
      {2.6f, 1, 2, 1, Block(3, 1, 4, 1)},
      {-10, -10, 12, 12, Block(0, 0, 1, 1)},
      {30, 20, 10, 10, Block(30, 20, 31, 23)},
      {0, 0, 1073741824.0f, 2, Block(0, 0, 31, 1)},
      {-1e9f, 5, 2e9f, 1, Block(0, 5, 31, 5)},
      {40, 0, 5, 5, {}},
      {std::nanf(""), 0, 5, 5, {}},
      {0, 0, std::numeric_limits<float>::infinity(), 5, {}},
  };
  for (const Row& row : rows) {
    Canvas canvas = Blank();
    canvas.FilledRect(row.x, row.y, row.w, row.h, kWhite);
    EXPECT_EQ(Lit(canvas), row.lit) << row.x << "," << row.y << " " << row.w << "x" << row.h;
  }
}

TEST(Canvas, OvalPointCounts) {
  struct Row {
    float w, h;
    double points;
  };
  const Row rows[] = {
      {10, 10, 12}, {100, 60, 80}, {0, 0, 12},   {-100, 60, 80}, {100, -60, 80}, {30, 30, 28},
      {7, 9, 12},   {50, 51, 48},  {26, 26, 24}, {27, 27, 24},   {2e9f, 0, 1e9},
  };
  for (const Row& row : rows) EXPECT_EQ(orvelt::OvalPointCount(row.w, row.h), row.points) << row.w << "x" << row.h;
}

// The reference: the polygon through all n points, filled where a pixel centre lies inside by
// the crossing rule (a centre on a left edge is in, on a right edge out).
PixelSet ReferenceOval(float x, float y, float w, float h, int width, int height) {
  double rx = w / 2.0, ry = h / 2.0, cx = x + rx, cy = y + ry;
  double n = orvelt::OvalPointCount(w, h);
  std::vector<std::pair<double, double>> points;
  for (double i = 0; i < n; ++i) {
    double angle = 2.0 * std::numbers::pi * i / n;
    points.push_back({cx + std::fabs(rx) * std::cos(angle), cy - std::fabs(ry) * std::sin(angle)});
  }
  PixelSet lit;
  for (int py = 0; py < height; ++py) {
    for (int px = 0; px < width; ++px) {
      double sx = px + 0.5, sy = py + 0.5;
      bool inside = false;
      for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        auto [xi, yi] = points[i];
        auto [xj, yj] = points[j];
        if ((yi > sy) != (yj > sy) && sx < xi + (sy - yi) * (xj - xi) / (yj - yi)) inside = !inside;
      }
      if (inside) lit.insert({px, py});
    }
  }
  return lit;
}

TEST(Canvas, FilledOvalMatchesItsPolygon) {
  struct Row {
    float x, y, w, h;
  };
  const Row rows[] = {
      {0, 0, 10, 10},  {3, 2, 20, 12},  {1, 1, 11, 7},     {30, 20, -24, -16}, {2.3f, 1.7f, 15.5f, 9.25f},
      {-8, -6, 30, 20}, {5, 5, 3, 3},   {0, 0, 64, 48},    {10, 4, 1, 15},     {0, 11, 64, 1},
  };
  for (const Row& row : rows) {
    Canvas canvas = Blank(64, 48);
    canvas.FilledOval(row.x, row.y, row.w, row.h, kWhite);
    EXPECT_EQ(Lit(canvas), ReferenceOval(row.x, row.y, row.w, row.h, 64, 48))
        << row.x << "," << row.y << " " << row.w << "x" << row.h;
  }
}

// The twelve points lie every 30 degrees on the circle of radius 5 around (5, 5).
TEST(Canvas, TwelvePointOvalHasItsPolygonShape) {
  Canvas canvas = Blank(12, 12);
  canvas.FilledOval(0, 0, 10, 10, kWhite);
  const char* expected[] = {
      "...xxxx.....", "..xxxxxx....", ".xxxxxxxx...", "xxxxxxxxxx..", "xxxxxxxxxx..", "xxxxxxxxxx..",
      "xxxxxxxxxx..", ".xxxxxxxx...", "..xxxxxx....", "...xxxx.....", "............", "............",
  };
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ(canvas.PixelAt(x, y) == kWhite, expected[y][x] == 'x') << x << "," << y;
}

TEST(Canvas, DegenerateAndHugeOvals) {
  struct Row {
    float x, y, w, h;
    size_t lit;
  };
  const Row rows[] = {
      {5, 5, 0, 10, 0}, {5, 5, 10, 0, 0}, {std::nanf(""), 0, 5, 5, 0},
      {-1e9f, -1e9f, 2e9f + 32, 2e9f + 24, 32 * 24},  // the canvas lies deep inside it
      {-1e30f, -1e30f, 2e30f, 2e30f, 32 * 24},
      {1e9f, 1e9f, 1e9f, 1e9f, 0},
  };
  for (const Row& row : rows) {
    Canvas canvas = Blank();
    canvas.FilledOval(row.x, row.y, row.w, row.h, kWhite);
    EXPECT_EQ(Lit(canvas).size(), row.lit) << row.x << " " << row.w;
  }
}

TEST(Canvas, HugeLinesAreClippedToTheCanvas) {
  Canvas canvas = Blank();
  canvas.Line(-1e9f, 5, 1e9f, 5, kWhite);
  EXPECT_EQ(Lit(canvas), Block(0, 5, 31, 5));
  Canvas steep = Blank();
  steep.Line(7, -1e9f, 7, 1e9f, kWhite);
  EXPECT_EQ(Lit(steep), Block(7, 0, 7, 23));
  Canvas far = Blank();
  far.Line(-1e30f, -1e30f, -1e30f, 1e30f, kWhite);
  far.Line(std::nanf(""), 0, 3, 3, kWhite);  // only the end point
  EXPECT_EQ(Lit(far), (PixelSet{{3, 3}}));
}

PixelSet GlyphPixels(int code, int left, int top) {
  PixelSet pixels;
  for (int row = 0; row < orvelt::kGlyphHeight; ++row)
    for (int column = 0; column < orvelt::kGlyphWidth; ++column)
      if (orvelt::GlyphRow(code, row) >> column & 1) pixels.insert({left + column, top + row});
  return pixels;
}

PixelSet Union(PixelSet a, const PixelSet& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(Canvas, TextPlacesGlyphsAtThePen) {
  struct Row {
    Text text;
    float x, y;
    PixelSet lit;
  };
  const Row rows[] = {
      {u"A", 3, 2, GlyphPixels('A', 3, 2)},
      {u"7", 0, 0, GlyphPixels('7', 0, 0)},
      {u"A7", 3, 2, Union(GlyphPixels('A', 3, 2), GlyphPixels('7', 11, 2))},
      {u"A\u00e47", 3, 2, Union(GlyphPixels('A', 3, 2), GlyphPixels('7', 11, 2))},
      {u"A\n\t7", 3, 2, Union(GlyphPixels('A', 3, 2), GlyphPixels('7', 11, 2))},
      {u"A", 2.6f, 1.4f, GlyphPixels('A', 3, 1)},
      {u"A", -4, -5, GlyphPixels('A', -4, -5)},
      {u"  ", 0, 0, {}},
      {u"A", 1e30f, 0, {}},
      {u"A", 0, std::nanf(""), {}},
  };
  for (const Row& row : rows) {
    Canvas canvas = Blank(64, 24);
    canvas.TextAt(row.text, row.x, row.y, kWhite);
    PixelSet expected;
    for (auto [x, y] : row.lit)
      if (x >= 0 && y >= 0 && x < 64 && y < 24) expected.insert({x, y});
    EXPECT_EQ(Lit(canvas), expected) << row.x << "," << row.y;
  }
}

TEST(Canvas, LongTextFarLeftStillEndsOnTheCanvas) {
  Canvas canvas = Blank(64, 24);
  Text text(200000, u'A');
  canvas.TextAt(text + u"7", -8.0f * 200000, 0, kWhite);
  EXPECT_EQ(Lit(canvas), GlyphPixels('7', 0, 0));
}

TEST(Canvas, TextWidthCountsDrawableCharacters) {
  struct Row {
    Text text;
    int width;
  };
  const Row rows[] = {
      {u"abc", 24}, {u"", 0}, {u"a\u00e9b", 16}, {u"\x1f", 0}, {u"\x7f", 8}, {u" ", 8}, {u"\u20ac", 0},
  };
  for (const Row& row : rows) EXPECT_EQ(orvelt::TextWidthInPixels(row.text), row.width);
}

TEST(Canvas, ShapesDrawInTheirColour) {
  Canvas canvas = Blank();
  canvas.FilledRect(0, 0, 2, 2, {10, 20, 30});
  canvas.Point(5, 5, {40, 50, 60});
  EXPECT_EQ(canvas.PixelAt(1, 1), (Rgb{10, 20, 30}));
  EXPECT_EQ(canvas.PixelAt(5, 5), (Rgb{40, 50, 60}));
  EXPECT_EQ(canvas.PixelAt(-1, 0), kBlack);
  EXPECT_EQ(canvas.PixelAt(0, 99), kBlack);
}

}  // namespace
