// Pictures in tests: pryndal-devhost run as people run it, on the module under test, in a folder
// of the test's own (ctest runs tests side by side); the PNGs it writes read back, cut to the part
// under test and compared with a committed reference within 2 per channel. On a mismatch the
// actual picture and a diff are written to the build folder.
#pragma once

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "output/png_file.h"
#include "render/image.h"
#include "support/golden_file.h"
#include "support/program_run.h"
#include "support/test_folder.h"

namespace veyrant_test {

inline devhost::Image ReadPng(const std::filesystem::path& path) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (pixels == nullptr) throw std::runtime_error(path.string() + ": cannot read as PNG");
  devhost::Image image{width, height, {pixels, pixels + width * height * 4}};
  stbi_image_free(pixels);
  return image;
}

// The top left width x height pixels.
inline devhost::Image Crop(const devhost::Image& image, int width, int height) {
  devhost::Image out{width, height, {}};
  for (int y = 0; y < height; ++y)
    out.rgba.insert(out.rgba.end(), image.Pixel(0, y), image.Pixel(0, y) + width * 4);
  return out;
}

using Rgba = std::array<int, 4>;  // straight alpha
using SpanList = std::vector<std::pair<int, int>>;

// The runs [first, last] of pixels on row y within 3 per channel of the colour.
inline SpanList Spans(const devhost::Image& image, int y, const Rgba& colour) {
  SpanList spans;
  for (int x = 0; x < image.width; ++x) {
    bool near = true;
    for (std::size_t i = 0; i < 4; ++i) near &= std::abs(image.Pixel(x, y)[i] - colour[i]) <= 3;
    if (!near) continue;
    if (spans.empty() || spans.back().second != x - 1) spans.push_back({x, x});
    spans.back().second = x;
  }
  return spans;
}

// The picture the program writes of the first frame of a scene under tests/scenes with these
// options.
inline devhost::Image Picture(const std::string& scene, const std::string& options,
                              const std::string& environment = "") {
  const ProgramRun run =
      Devhost("--scene '" VEYRANT_TEST_SCENE_DIR "/" + scene + "' " + options + " --png out.png",
              environment);
  if (run.exitCode != 0) throw std::runtime_error(run.errors);
  return ReadPng(TestFolder() / "out.png");
}

// Empty when the pictures match, otherwise what differs and where to look.
inline std::string CompareWithGolden(const devhost::Image& actual, const std::string& name) {
  const std::filesystem::path golden = GoldenPath(name + ".png");
  if (UpdatingGolden()) devhost::WritePng(golden.string(), actual);
  devhost::Image diff = ReadPng(golden);  // differences in red over the dimmed reference
  std::string problem = "its size differs from the reference";
  if (diff.width == actual.width && diff.height == actual.height) {
    long differing = 0;
    for (std::size_t i = 0; i < actual.rgba.size(); i += 4) {
      bool bad = false;
      for (std::size_t c = 0; c < 4; ++c)
        bad |= std::abs(actual.rgba[i + c] - diff.rgba[i + c]) > 2;
      differing += bad;
      for (std::size_t c = 0; c < 4; ++c)
        diff.rgba[i + c] = c == 3 ? 255 : bad ? (c == 0) * 255 : diff.rgba[i + c] / 4;
    }
    if (differing == 0) return {};
    problem = std::to_string(differing) + " pixels differ by more than 2";
  }
  const std::filesystem::path out = std::filesystem::path(VEYRANT_GOLDEN_OUT_DIR) / name;
  std::filesystem::create_directories(out.parent_path());
  devhost::WritePng(out.string() + ".actual.png", actual);
  devhost::WritePng(out.string() + ".diff.png", diff);
  return name + ": " + problem + "; see " + out.string() +
         ".{actual,diff}.png, or refresh the reference with scripts/update-golden";
}

}  // namespace veyrant_test
