// Rendered panels against committed reference pictures, cut to the panel and a few pixels round.
// Refresh the references on purpose with scripts/update-golden.
#include <gtest/gtest.h>

#include "render/render_scenes.h"
#include "support/picture.h"

namespace {

using veyrant_test::Crop;
using veyrant_test::RenderedPlugin;

constexpr Vector2 kCanvas{960, 540};  // the panel's corner at (9, 10)

struct GoldenCase {
  const char* name;
  const char* scene;
  std::vector<std::pair<std::string, std::string>> sets;
  int panelWidth, panelHeight;
  bool transparent = false;
  bool settings = false;
};

class Golden : public testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesTheReferencePicture) {
  const GoldenCase& c = GetParam();
  RenderedPlugin rendered(c.scene, c.sets, kCanvas, c.transparent);
  const devhost::Image frame = c.settings ? rendered.FrameWithSettings() : rendered.Frame();
  const std::string problem = veyrant_test::CompareWithGolden(
      Crop(frame, 0, 0, 9 + c.panelWidth + 8, 10 + c.panelHeight + 8), c.name);
  EXPECT_EQ(problem, "");
}

INSTANTIATE_TEST_SUITE_P(
    Panels, Golden,
    testing::Values(
        GoldenCase{"full_panel", veyrant_test::kOneCarScene, {}, 240, 115},
        GoldenCase{"elements_off",
                   veyrant_test::kOneCarScene,
                   {{"veyrant_throttle", "0"}, {"veyrant_roll", "0"}, {"veyrant_jump", "0"}},
                   240,
                   85},
        GoldenCase{"four_panels", veyrant_test::kFourCarScene, {}, 240, 3 * 107 + 115},
        GoldenCase{"values_on", veyrant_test::kOneCarScene, {{"veyrant_values", "1"}}, 240, 115},
        GoldenCase{"scale_0_5", veyrant_test::kOneCarScene, {{"veyrant_scale", "0.5"}}, 120, 56},
        GoldenCase{"scale_3", veyrant_test::kOneCarScene, {{"veyrant_scale", "3"}}, 720, 345},
        GoldenCase{"transparent", veyrant_test::kOneCarScene, {}, 240, 115, true},
        // The settings window sits at (20, 20), 637 x 440, over the panel.
        GoldenCase{"settings_defaults", veyrant_test::kOneCarScene, {}, 640, 442, false, true}),
    [](const testing::TestParamInfo<GoldenCase>& param) { return std::string(param.param.name); });

}  // namespace
