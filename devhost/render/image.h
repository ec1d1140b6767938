// A picture in memory: 8-bit RGBA, rows from the top, alpha not premultiplied.
#pragma once

#include <cstdint>
#include <vector>

namespace devhost {

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;

  const std::uint8_t* Pixel(int x, int y) const {
    return &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)) *
                 4];
  }
};

}  // namespace devhost
