// Reading the bound OpenGL framebuffer back as a picture.
#pragma once

#include "render/image.h"

namespace devhost {

// Fills the image, rows from the top, at its own size from the framebuffer's bottom-left corner;
// its memory is reused as it is. Blending straight colours over a transparent framebuffer leaves
// them multiplied by alpha: with premultiplied they are divided by it again. A framebuffer cleared
// to opaque stays opaque under Dear ImGui's blending, so its pictures need no such pass.
void ReadBoundFramebuffer(Image& image, bool premultiplied);

}  // namespace devhost
