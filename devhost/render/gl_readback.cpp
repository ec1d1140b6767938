#include "render/gl_readback.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace devhost {

namespace {

// Mesa hands the rows over top row first while it copies them, which costs nothing; other drivers
// give them bottom row first.
bool DriverInvertsRows() {
  GLint count = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i) {
    const auto* name =
        reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
    if (name != nullptr && std::string_view(name) == "GL_MESA_pack_invert") return true;
  }
  return false;
}

void SwapRows(Image& image) {
  const std::size_t row = static_cast<std::size_t>(image.width) * 4;
  std::vector<std::uint8_t> spare(row);
  for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
    std::uint8_t* a = &image.rgba[static_cast<std::size_t>(top) * row];
    std::uint8_t* b = &image.rgba[static_cast<std::size_t>(bottom) * row];
    std::memcpy(spare.data(), a, row);
    std::memcpy(a, b, row);
    std::memcpy(b, spare.data(), row);
  }
}

void DivideByAlpha(Image& image) {
  for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
    std::uint8_t* p = &image.rgba[i];
    if (p[3] == 0 || p[3] == 255) continue;
    for (int c = 0; c < 3; ++c)
      p[c] = static_cast<std::uint8_t>(std::min(255, (p[c] * 255 + p[3] / 2) / p[3]));
  }
}

}  // namespace

void ReadBoundFramebuffer(Image& image, bool premultiplied) {
  static const bool inverts = DriverInvertsRows();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  if (inverts) glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
  glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
  if (inverts) glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
  if (!inverts) SwapRows(image);
  if (premultiplied) DivideByAlpha(image);
}

}  // namespace devhost
