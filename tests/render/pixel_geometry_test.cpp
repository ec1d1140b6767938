// Geometry read straight off rendered pictures: what the plugin's calls cover on the real canvas.
// At 1920x1080 and scale 1 the panel's corner is (19, 21); the THR track spans x 63..250 with its
// centre at 157, rows 55..64; the cells lie on rows 103..122.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "render/png_file.h"
#include "render/render_scenes.h"

namespace {

using veyrant_test::OneCarWith;
using veyrant_test::RenderedPlugin;

constexpr Vector2 kCanvas{1920, 1080};

bool Near(const std::uint8_t* p, int r, int g, int b, int tolerance = 3) {
  return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
         std::abs(p[2] - b) <= tolerance;
}

// The runs [first, last] of consecutive pixels on row y, between x0 and x1, that match.
std::vector<std::pair<int, int>> Runs(const devhost::Image& image, int y, int x0, int x1,
                                      const std::function<bool(const std::uint8_t*)>& match) {
  std::vector<std::pair<int, int>> runs;
  for (int x = x0; x <= x1; ++x) {
    if (!match(image.Pixel(x, y))) continue;
    if (!runs.empty() && runs.back().second == x - 1) {
      runs.back().second = x;
    } else {
      runs.push_back({x, x});
    }
  }
  return runs;
}

devhost::Image Render(const std::string& key,
                      const std::vector<std::pair<std::string, std::string>>& sets = {}) {
  RenderedPlugin rendered(OneCarWith(key), sets, kCanvas, true);
  return rendered.Frame();
}

using Span = std::pair<int, int>;

TEST(PixelGeometry, FullBrakeIsRedFromTheTracksLeftEndToItsCentre) {
  const devhost::Image image = Render(R"("throttle": -1)");
  for (const int y : {55, 60, 64})
    EXPECT_EQ(Runs(image, y, 19, 259, [](auto p) { return Near(p, 220, 70, 60); }),
              std::vector<Span>({{63, 156}}))
        << "row " << y;
  EXPECT_TRUE(Runs(image, 54, 19, 259, [](auto p) { return Near(p, 220, 70, 60); }).empty());
  EXPECT_TRUE(Runs(image, 65, 19, 259, [](auto p) { return Near(p, 220, 70, 60); }).empty());
}

TEST(PixelGeometry, FullThrottleIsGreenFromTheCentreToTheTracksRightEnd) {
  const devhost::Image image = Render(R"("throttle": 1)");
  EXPECT_EQ(Runs(image, 60, 19, 259, [](auto p) { return Near(p, 60, 210, 80); }),
            std::vector<Span>({{157, 250}}));
  // The centre mark's left column is left of the fill; the track goes on to 250.
  EXPECT_TRUE(Near(image.Pixel(156, 60), 80, 80, 80));
  EXPECT_TRUE(Near(image.Pixel(63, 60), 20, 20, 20));
}

TEST(PixelGeometry, ThreeCellsAre72PixelsWideFourApart) {
  const devhost::Image image = Render(R"("boost": true, "jump": true, "handbrake": true)");
  // Row 104, inside the panel's outline: the cells' top border, above their labels; background
  // between.
  const auto notBackground = [](const std::uint8_t* p) { return !Near(p, 12, 12, 18); };
  EXPECT_EQ(Runs(image, 104, 20, 257, notBackground),
            std::vector<Span>({{27, 98}, {103, 174}, {179, 250}}));
  EXPECT_TRUE(Near(image.Pixel(60, 110), 220, 140, 0));     // BOOST held: orange
  EXPECT_TRUE(Near(image.Pixel(110, 110), 140, 140, 230));  // JUMP held: lavender
  EXPECT_TRUE(Near(image.Pixel(240, 110), 220, 80, 0));     // HB held: deep orange
}

TEST(PixelGeometry, TheOutlineIsOnePixelAndTheHeaderBandCoversItsTop) {
  const devhost::Image image = Render(R"("throttle": 0)");
  // Border (50, 50, 70, 180) over the background (12, 12, 18, 220): left column only.
  EXPECT_FALSE(Near(image.Pixel(19, 80), 12, 12, 18));
  EXPECT_TRUE(Near(image.Pixel(20, 80), 12, 12, 18));
  EXPECT_TRUE(Near(image.Pixel(19, 21), 20, 20, 55));  // header band, opaque, over the border
  EXPECT_EQ(image.Pixel(18, 80)[3], 0);                // nothing outside the panel
  EXPECT_EQ(image.Pixel(19, 136)[3], 0);               // 115 rows: 21..135
  EXPECT_NE(image.Pixel(19, 135)[3], 0);
}

TEST(PixelGeometry, ValueTextIsCentredOnTheTrackAsMeasured) {
  // The plugin centres the value with GetStringSize: the ink lands centred only if the measure is
  // what DrawString covers.
  const devhost::Image image = Render(R"("throttle": 0.5)", {{"veyrant_values", "1"}});
  int left = 10000, right = -1;
  for (int y = 55; y <= 64; ++y)
    for (const auto& [a, b] : Runs(image, y, 63, 250, [](auto p) {
           return p[0] > 120 && p[2] > 120;  // light grey ink, neither green fill nor track
         })) {
      left = std::min(left, a);
      right = std::max(right, b);
    }
  ASSERT_GE(right, left);
  EXPECT_NEAR((left + right + 1) / 2.0, 157, 1.5) << "ink from " << left << " to " << right;
}

TEST(PixelGeometry, FramesAreTheSameFromRendererToRenderer) {
  const auto encode = [] {
    RenderedPlugin rendered(veyrant_test::kFourCarScene, {{"veyrant_values", "1"}}, {640, 480});
    return devhost::EncodePng(rendered.Frame());
  };
  EXPECT_EQ(encode(), encode());
}

}  // namespace
