// Reading the bound OpenGL framebuffer back as a picture.
#pragma once

#include "host/value_types.h"
#include "render/image.h"

namespace devhost {

// Rows from the top. With keepAlpha the colours are divided by alpha again (blending straight
// colours over a cleared framebuffer leaves them multiplied by it); without, alpha is opaque.
Image ReadBoundFramebuffer(Vector2 size, bool keepAlpha);

}  // namespace devhost
