// Reading the bound OpenGL framebuffer back as a picture.
#pragma once

#include "render/image.h"

namespace devhost {

// Fills the image, rows from the top, at its own size from the framebuffer's bottom-left corner;
// its memory is reused as it is. With keepAlpha the colours are divided by alpha again (blending
// straight colours over a cleared framebuffer leaves them multiplied by it); without, alpha is
// opaque.
void ReadBoundFramebuffer(Image& image, bool keepAlpha);

}  // namespace devhost
