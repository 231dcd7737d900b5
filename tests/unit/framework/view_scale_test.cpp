#include "framework/view_scale.h"

#include <gtest/gtest.h>

#include "fakes/fake_windows.h"
#include "platform/image_scale.h"

namespace vsi {
namespace {

TEST(ViewScale, RoundsToTheNearestPixelAndComesBackToTheStoredValue) {
  struct Case {
    int dpi, value, scaled;
  } cases[] = {{96, 885, 885}, {120, 885, 1106}, {144, 885, 1328}, {192, 885, 1770}, {120, 190, 238},
               {144, 190, 285}, {144, 11, 17},   {120, 1, 1},       {144, -3, -5},     {168, 25, 44}};
  for (const Case& c : cases) {
    ViewScale v{c.dpi};
    EXPECT_EQ(v.Scale(c.value), c.scaled) << c.dpi << " " << c.value;
    EXPECT_EQ(v.Unscale(v.Scale(c.value)), c.value) << c.dpi << " " << c.value;
  }
  // Whole ranges: what the system gives back for a scaled size is the stored size.
  for (int dpi : {96, 110, 120, 144, 168, 192, 240, 288})
    for (int v = -50; v < 2000; ++v) ASSERT_EQ(ViewScale{dpi}.Unscale(ViewScale{dpi}.Scale(v)), v) << dpi << " " << v;
}

TEST(ScaledCanvas, DrawsEveryShapeScaledAndMeasuresIn96DpiUnits) {
  fake::RecordingCanvas real;
  ScaledCanvas c(real, ViewScale{144});
  c.SetFont(FontSpec{"Arial", 12});
  c.SetPen(clRed, 1);
  c.FillRect({1, 2, 11, 12});
  c.MoveTo(2, 4);
  c.LineTo(10, 4);
  c.TextOut(3, 5, "ab");
  c.DrawImage("FLAG", 4, 6, false);
  c.DrawImage("GLYPH", -3, -1, true);  // centred, shifted by 2
  ASSERT_EQ(real.ops.size(), 6u);
  EXPECT_EQ(real.ops[0].rect, (TRect{2, 3, 17, 18}));
  EXPECT_EQ(real.ops[1].x, 3);
  EXPECT_EQ(real.ops[2].x, 15);
  EXPECT_EQ(real.ops[2].penWidth, 2);
  EXPECT_EQ(real.ops[3].font.height, 18);
  EXPECT_EQ(ViewScale{144}.FontHeight(11), 16) << "16.5 rounds down: the text must still fit its box";
  EXPECT_EQ(ViewScale{120}.FontHeight(13), 16);
  EXPECT_EQ(real.ops[3].x, 5);
  EXPECT_EQ(real.ops[4].dpi, 144);
  EXPECT_EQ(real.ops[4].x, 6);
  EXPECT_EQ(real.ops[5].x, -1 - 3) << "the shift scales, the centring stays the canvas's";
  EXPECT_EQ(real.ops[5].y, -1);
  // Text measured by the real canvas at 18 px comes back in the units paint code works in.
  TSize ext = c.TextExtent("abcdef");
  EXPECT_EQ(ext.cx, ViewScale{144}.Unscale(fake::RecordingCanvas::Measure({"Arial", 18}, 6).cx));
  TRect calc{0, 0, 100, 0};
  int h = c.DrawText("abc", calc, DT_CALCRECT_ | DT_SINGLELINE_);
  EXPECT_EQ(h, ViewScale{144}.Unscale(20));
  EXPECT_EQ(calc.bottom, h);
}

TEST(ScaledCanvas, HighContrastPaintsSystemColours) {
  fake::RecordingCanvas real;
  ScaledCanvas c(real, ViewScale{96, true});
  c.SetBrush(Rgb(128, 128, 255));
  c.SetFont(FontSpec{"Arial", 11, clYellow});
  c.FillRect({0, 0, 5, 5});
  c.TextOut(0, 0, "x");
  c.SetBrush(clNone);
  EXPECT_EQ(real.ops[0].brush, clWindow);
  EXPECT_EQ(real.ops[1].font.color, clWindowText);
  EXPECT_EQ(real.brush, clNone) << "a clear brush stays clear";
}

Pixels Gradient(int w, int h) {
  Pixels p{w, h, std::vector<uint32_t>(size_t(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v = static_cast<uint32_t>(x * 255 / (w - 1));
      p.data[size_t(y) * w + x] = v << 16 | v << 8 | v;
    }
  return p;
}

// Blocky enlarging repeats source columns; a smooth one gives every target column its own value.
TEST(ResamplePixels, EnlargingIsSmoothNotBlocky) {
  for (int dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    Pixels src = Gradient(40, 25);
    const int w = (40 * dpi + 48) / 96, h = (25 * dpi + 48) / 96;
    Pixels out = ResamplePixels(src, w, h);
    ASSERT_EQ(out.width, w);
    ASSERT_EQ(out.height, h);
    int repeats = 0;
    for (int x = 2; x < w - 2; ++x) repeats += out.At(x, h / 2) == out.At(x - 1, h / 2);
    EXPECT_EQ(repeats, 0);
  }
  // A hard edge gets an in-between colour where it falls between target pixels.
  Pixels edge{2, 1, {0x000000, 0xFFFFFF}};
  Pixels out = ResamplePixels(edge, 3, 1);
  EXPECT_EQ(out.At(0, 0), 0x000000u);
  EXPECT_EQ(out.At(1, 0), 0x808080u);
  EXPECT_EQ(out.At(2, 0), 0xFFFFFFu);
}

TEST(ResamplePixels, ReducingAveragesAndTheTransparentColourStaysExact) {
  Pixels check{2, 2, {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}};
  EXPECT_EQ(ResamplePixels(check, 1, 1).At(0, 0), 0x808080u);
  // A glyph on a magenta key: the key never blends into the picture's colours, and the
  // bottom-left pixel (which names the key) stays the key.
  const uint32_t key = 0xFF00FF;
  Pixels glyph{4, 4, std::vector<uint32_t>(16, key)};
  glyph.data[5] = glyph.data[6] = glyph.data[9] = glyph.data[10] = 0x0000FF;
  Pixels big = ResamplePixels(glyph, 6, 6, key);
  EXPECT_EQ(big.At(0, 5), key);
  for (uint32_t p : big.data) EXPECT_TRUE(p == key || p == 0x0000FFu) << std::hex << p;
}

}  // namespace
}  // namespace vsi
