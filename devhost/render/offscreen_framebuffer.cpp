#include "render/offscreen_framebuffer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

#include "render/gl_readback.h"
#include "system/host_errors.h"

namespace devhost {

OffscreenFramebuffer::OffscreenFramebuffer(Vector2 size) : size_(size) {
  glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size.X, size.Y, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status != GL_FRAMEBUFFER_COMPLETE)
    throw RenderError("a " + std::to_string(size.X) + "x" + std::to_string(size.Y) +
                      " framebuffer is not complete (status " + std::to_string(status) + ")");
}

OffscreenFramebuffer::~OffscreenFramebuffer() {
  glDeleteFramebuffers(1, &framebuffer_);
  glDeleteTextures(1, &texture_);
}

void OffscreenFramebuffer::BeginDrawing(bool opaque) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glViewport(0, 0, size_.X, size_.Y);
  glClearColor(0, 0, 0, opaque ? 1 : 0);
  glClear(GL_COLOR_BUFFER_BIT);
}

void OffscreenFramebuffer::BeginDrawingOver(const OffscreenFramebuffer& under) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, under.framebuffer_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
  // Same size and format: Mesa copies the memory as it is.
  glBlitFramebuffer(0, 0, size_.X, size_.Y, 0, 0, size_.X, size_.Y, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glViewport(0, 0, size_.X, size_.Y);
}

void OffscreenFramebuffer::Read(Image& image, bool premultiplied) const {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  ReadBoundFramebuffer(image, premultiplied);
}

}  // namespace devhost
