// A framebuffer object of one 8-bit RGBA colour texture in the current OpenGL context: where a
// headless frame is drawn, and read back as a picture.
#pragma once

#include "host/value_types.h"
#include "render/image.h"

namespace devhost {

class OffscreenFramebuffer {
 public:
  // Throws RenderError if the framebuffer is not complete.
  explicit OffscreenFramebuffer(Vector2 size);
  ~OffscreenFramebuffer();
  OffscreenFramebuffer(const OffscreenFramebuffer&) = delete;
  OffscreenFramebuffer& operator=(const OffscreenFramebuffer&) = delete;

  // Binds it and clears it to black, opaque or transparent.
  void BeginDrawing(bool opaque);
  // Binds it and copies in the other's pixels, which has its size.
  void BeginDrawingOver(const OffscreenFramebuffer& under);
  // Reads it into the image, which has its size; see ReadBoundFramebuffer.
  void Read(Image& image, bool premultiplied) const;
  Vector2 Size() const { return size_; }

 private:
  Vector2 size_;
  unsigned framebuffer_ = 0;
  unsigned texture_ = 0;
};

}  // namespace devhost
