#include "render/gl_readback.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace devhost {

Image ReadBoundFramebuffer(Vector2 size, bool keepAlpha) {
  Image image{size.X, size.Y, {}};
  const std::size_t row = static_cast<std::size_t>(size.X) * 4;
  std::vector<std::uint8_t> bottomUp(row * static_cast<std::size_t>(size.Y));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, size.X, size.Y, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  image.rgba.resize(bottomUp.size());
  for (int y = 0; y < size.Y; ++y)
    std::memcpy(&image.rgba[static_cast<std::size_t>(y) * row],
                &bottomUp[static_cast<std::size_t>(size.Y - 1 - y) * row], row);
  for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
    std::uint8_t* p = &image.rgba[i];
    if (!keepAlpha) {
      p[3] = 255;
    } else if (p[3] != 0 && p[3] != 255) {
      for (int c = 0; c < 3; ++c)
        p[c] = static_cast<std::uint8_t>(std::min(255, (p[c] * 255 + p[3] / 2) / p[3]));
    }
  }
  return image;
}

}  // namespace devhost
