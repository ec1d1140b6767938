// A failure of the rendering path: no OpenGL context, a framebuffer that cannot be made, a picture
// that cannot be written. The message says which step and why.
#pragma once

#include <stdexcept>

namespace devhost {

struct RenderError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace devhost
