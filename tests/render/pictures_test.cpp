// Pictures pryndal-devhost writes, run as the program: panels against committed reference
// pictures (refresh them on purpose with scripts/update-golden) and, where the geometry is the
// point, against the pixels each colour must cover, which a refreshed reference cannot wave
// through; and the picture options.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/picture.h"

namespace {

using veyrant_test::Devhost;
using veyrant_test::Rgba;
using veyrant_test::SpanList;
using veyrant_test::Spans;

// Scenes under tests/scenes. One car, followed by the camera, airborne and rolling, with boost and
// handbrake held; and four cars and a camera that follows none: one panel each, 107 rows apart.
constexpr char kOneCar[] = "one-car-airborne.json", kFourCars[] = "four-cars-each-input.json";

constexpr Rgba kBorder{40, 40, 56, 245}, kBrake{220, 70, 60, 255}, kThrottle{60, 210, 80, 255},
    kSteer{80, 150, 255, 255}, kRoll{255, 100, 200, 255}, kBoost{220, 140, 0, 255},
    kJump{140, 140, 230, 255};

using Row = std::tuple<int, Rgba, SpanList>;  // y, a colour and where on that row it lies

// A track spans x 53..240 with its centre at 147: throttle fills from the centre, brake up to
// it. Cells are 72 pixels wide, 4 apart.
const std::vector<Row> kFullFills = {{44, kThrottle, {{147, 240}}},
                                     {151, kBrake, {{53, 146}}},
                                     {93, kBoost, {{18, 87}}},
                                     {307, kJump, {{94, 163}}}};
// A one-pixel outline, even at its corners.
const std::vector<Row> kOutline = {{69, kBorder, {{9, 9}, {248, 248}}}, {124, kBorder, {{9, 248}}}};
// The page's actions are done before the picture: the panel moved right of the window and shows
// ROLL where STR was.
const std::vector<Row> kAfterClickingSteer = {{63, kSteer, {}}, {63, kRoll, {{829, 875}}}};

struct GoldenCase {
  const char* name;
  const char* scene;
  const char* options;
  int width, height;  // the panel's corner at (9, 10), 8 pixels of backdrop round it
  std::vector<Row> rows = {};
  bool reference = true;
};

// The same references hold for each of Mesa's software rasterisers: llvmpipe at both of its vector
// widths, and softpipe, which shares no code with it on the way to a pixel.
struct Rasteriser {
  const char* name;
  const char* environment;
};

class Golden : public testing::TestWithParam<std::tuple<GoldenCase, Rasteriser>> {};

TEST_P(Golden, MatchesTheReferencePicture) {
  const auto& [c, rasteriser] = GetParam();
  const devhost::Image picture = veyrant_test::Crop(
      veyrant_test::Picture(c.scene, std::string("--canvas 960x540 ") + c.options,
                            rasteriser.environment),
      c.width, c.height);
  EXPECT_EQ(c.reference ? veyrant_test::CompareWithGolden(picture, c.name) : "", "");
  for (const auto& [y, colour, spans] : c.rows)
    EXPECT_EQ(Spans(picture, y, colour), spans) << "row " << y << ", red " << colour[0];
}

INSTANTIATE_TEST_SUITE_P(
    Panels, Golden,
    testing::Combine(
        testing::Values(
            GoldenCase{"full_panel", kOneCar, "", 257, 133},
            GoldenCase{"elements_off", kOneCar,
                       "--set veyrant_throttle=0 --set veyrant_roll=0 --set veyrant_jump=0", 257,
                       103},
            GoldenCase{"four_panels", kFourCars, "", 257, 454, kFullFills},
            GoldenCase{"values_on", kOneCar, "--set veyrant_values=1", 257, 133},
            GoldenCase{"scale_0_5", kOneCar, "--set veyrant_scale=0.5", 137, 74},
            GoldenCase{"scale_3", kOneCar, "--set veyrant_scale=3", 737, 363},
            GoldenCase{"transparent", kOneCar, "--transparent", 257, 133, kOutline},
            GoldenCase{"settings_defaults", kOneCar, "--settings", 657, 460},
            GoldenCase{"settings_actions", kOneCar, "--settings --set veyrant_x=0.72 --click Steer",
                       960, 80, kAfterClickingSteer, false}),
        testing::Values(Rasteriser{"llvmpipe_128", "LP_NATIVE_VECTOR_WIDTH=128"},
                        Rasteriser{"llvmpipe_256", "LP_NATIVE_VECTOR_WIDTH=256"},
                        Rasteriser{"softpipe", "GALLIUM_DRIVER=softpipe"})),
    [](const auto& param) {
      return std::string(std::get<0>(param.param).name) + "_" + std::get<1>(param.param).name;
    });

devhost::Image Png(const std::string& name) {
  return veyrant_test::ReadPng(veyrant_test::TestFolder() / name);
}

std::string Bytes(const std::string& name) {
  return veyrant_test::ReadFile(veyrant_test::TestFolder() / name);
}

TEST(PictureOptions, PngDirWritesEachFrameUnderItsNumberAsPngWritesTheLast) {
  // More frames than the writer holds at once, so that the pictures' memory is used again.
  constexpr int kFrames = 8;
  const std::string options = "--canvas 320x180 --time 2 --set veyrant_values=1 ";
  ASSERT_EQ(Devhost(options + "--frames " + std::to_string(kFrames) + " --png-dir seq").exitCode,
            0);
  const auto frame = [](int k) {
    char name[32];
    std::snprintf(name, sizeof name, "seq/frame-%05d.png", k);
    return Bytes(name);
  };
  for (int k = 1; k < kFrames; ++k) EXPECT_NE(frame(k), frame(k - 1)) << k;  // the demo moves
  EXPECT_EQ(frame(kFrames), "");
  for (const int k : {0, kFrames - 1}) {
    ASSERT_EQ(Devhost(options + "--frames " + std::to_string(k + 1) + " --png last.png").exitCode,
              0);
    EXPECT_EQ(Bytes("last.png"), frame(k)) << k;
  }
  const devhost::Image image = Png("last.png");
  EXPECT_EQ(std::vector<int>({image.width, image.height, image.Pixel(0, 0)[3]}),
            std::vector<int>({320, 180, 255}));  // the backdrop is opaque
}

TEST(PictureOptions, AWindowWithoutADisplayIsRefusedBeforeLoading) {
  const auto outcome = Devhost("--window", "-u DISPLAY");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_TRUE(outcome.errors.starts_with("pryndal-devhost: --window: no display ("))
      << outcome.errors;  // and nothing before it: the plugin is not loaded
}

// Each text drawn with the size GetStringSize gave just before, as the trace tells it: the last box
// filled (a cell) and the text's box, each as {x, y, width, height}.
using Box = std::array<double, 4>;
std::vector<std::pair<Box, Box>> MeasuredTexts(const std::string& trace) {
  std::vector<std::pair<Box, Box>> texts;
  std::ifstream in(veyrant_test::TestFolder() / trace);
  Box at{}, cell{}, size{};
  for (std::string line; std::getline(in, line);) {
    const auto record = nlohmann::json::parse(line);
    if (!record.contains("op")) continue;  // the host's own calls into the plugin
    const auto& op = record["op"];
    const auto& args = record["args"];
    if (op == "CanvasWrapper::SetPosition") at = {args[0][0], args[0][1]};
    if (op == "CanvasWrapper::FillBox") cell = {at[0], at[1], args[0][0], args[0][1]};
    if (op == "CanvasWrapper::GetStringSize") size = {record["result"][0], record["result"][1]};
    if (op == "CanvasWrapper::DrawString" && size[1] > 0) {
      texts.push_back({cell, {at[0], at[1], size[0], size[1]}});
      size = {};
    }
  }
  return texts;
}

// The cells' labels (BOOST; JUMP, whose J reaches below the line and left of its pen; HB),
// centred by their measure: what is painted lies inside it and fills it but for the bearings.
class MeasuredText : public testing::TestWithParam<const char*> {};

TEST_P(MeasuredText, CoversWhatIsPainted) {
  const devhost::Image picture = veyrant_test::Picture(
      kOneCar,
      std::string("--canvas 960x540 --transparent --trace trace.jsonl --set veyrant_scale=") +
          GetParam());
  const auto texts = MeasuredTexts("trace.jsonl");
  ASSERT_EQ(texts.size(), 3u);
  for (const auto& [cell, text] : texts) {
    // Inside the cell's outline all is its fill but the label, painted over [left, right) x
    // [top, bottom).
    const std::uint8_t* fill = picture.Pixel(int(cell[0]) + 1, int(cell[1]) + 1);
    double left = picture.width, right = 0, top = picture.height, bottom = 0;
    for (int y = int(cell[1]) + 1; y < int(cell[1] + cell[3]) - 1; ++y)
      for (int x = int(cell[0]) + 1; x < int(cell[0] + cell[2]) - 1; ++x)
        if (!std::equal(fill, fill + 4, picture.Pixel(x, y))) {
          left = std::min(left, x + 0.0), right = std::max(right, x + 1.0);
          top = std::min(top, y + 0.0), bottom = std::max(bottom, y + 1.0);
        }
    const auto [x, y, width, height] = text;
    SCOPED_TRACE("text at " + std::to_string(x) + "," + std::to_string(y));
    EXPECT_TRUE(left >= x && right <= x + width && top >= y && bottom <= y + height)
        << "painted " << left << ".." << right << " x " << top << ".." << bottom;
    // The bearings of these letters are at most an eighth of the line; a line has room above the
    // capitals and below them for descenders.
    EXPECT_LE(left - x + (x + width - right), height / 8 + 1);
    EXPECT_LE(top - y + (y + height - bottom), height / 2);
  }
}

INSTANTIATE_TEST_SUITE_P(OverlayScales, MeasuredText, testing::Values("0.5", "1", "2.3", "3.3"));

}  // namespace
