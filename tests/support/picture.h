// Pictures in tests: reading PNGs back, cutting out the part under test, and comparing with a
// committed reference with a small tolerance per channel. On a mismatch the actual picture and a
// diff are written to the build folder; VEYRANT_UPDATE_GOLDEN=1 writes the references instead.
#pragma once

#include <stb/stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "render/image.h"
#include "render/png_file.h"

namespace veyrant_test {

inline devhost::Image ReadPng(const std::string& path) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (pixels == nullptr) throw std::runtime_error(path + ": cannot read as PNG");
  devhost::Image image{width, height, {pixels, pixels + width * height * 4}};
  stbi_image_free(pixels);
  return image;
}

inline devhost::Image Crop(const devhost::Image& image, int x, int y, int width, int height) {
  devhost::Image out{width, height, {}};
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* from = image.Pixel(x, y + row);
    out.rgba.insert(out.rgba.end(), from, from + width * 4);
  }
  return out;
}

// Empty when the pictures match within tolerance, otherwise what differs and where to look.
inline std::string CompareWithGolden(const devhost::Image& actual, const std::string& name,
                                     int tolerance = 2) {
  const std::filesystem::path golden = std::filesystem::path(VEYRANT_GOLDEN_DIR) / (name + ".png");
  const char* update = std::getenv("VEYRANT_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    devhost::WritePng(golden.string(), actual);
    return {};
  }
  if (!std::filesystem::exists(golden))
    return golden.string() + " is missing; run scripts/update-golden to create it";
  const devhost::Image expected = ReadPng(golden.string());
  std::string problem;
  devhost::Image diff{actual.width, actual.height, {}};
  if (expected.width != actual.width || expected.height != actual.height) {
    problem = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
              ", expected " + std::to_string(expected.width) + "x" +
              std::to_string(expected.height);
  } else {
    long differing = 0;
    int worst = 0;
    diff.rgba.resize(actual.rgba.size());
    for (std::size_t i = 0; i < actual.rgba.size(); i += 4) {
      int delta = 0;
      for (std::size_t c = 0; c < 4; ++c)
        delta = std::max(delta, std::abs(actual.rgba[i + c] - expected.rgba[i + c]));
      worst = std::max(worst, delta);
      const bool bad = delta > tolerance;
      differing += bad;
      // Differences in red over a dimmed copy of the reference.
      diff.rgba[i] = static_cast<std::uint8_t>(bad ? 255 : expected.rgba[i] / 4);
      diff.rgba[i + 1] = static_cast<std::uint8_t>(bad ? 0 : expected.rgba[i + 1] / 4);
      diff.rgba[i + 2] = static_cast<std::uint8_t>(bad ? 0 : expected.rgba[i + 2] / 4);
      diff.rgba[i + 3] = 255;
    }
    if (differing == 0) return {};
    problem = std::to_string(differing) + " pixels differ by more than " +
              std::to_string(tolerance) + " (at most " + std::to_string(worst) + ")";
  }
  const std::filesystem::path out = std::filesystem::path(VEYRANT_GOLDEN_OUT_DIR);
  std::filesystem::create_directories(out);
  devhost::WritePng((out / (name + ".actual.png")).string(), actual);
  if (!diff.rgba.empty()) devhost::WritePng((out / (name + ".diff.png")).string(), diff);
  return name + ": " + problem + "; see " + (out / name).string() +
         ".{actual,diff}.png, or refresh the reference with scripts/update-golden";
}

}  // namespace veyrant_test
