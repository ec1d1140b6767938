// Frames rendered with no display and no GPU: the composed frame drawn by Dear ImGui's OpenGL 3
// backend into an offscreen framebuffer and read back as a picture. The same frames give the same
// pixels from run to run.
#pragma once

#include "render/frame_composer.h"
#include "render/headless_gl_context.h"
#include "render/image.h"
#include "render/offscreen_framebuffer.h"

namespace devhost {

class HeadlessRenderer {
 public:
  // Throws RenderError if there is no OpenGL 3.3 to be had. One frame is rendered at once and
  // thrown away (see FrameComposer::ComposeWarmUp).
  HeadlessRenderer(Host& host, Vector2 size, const FrameLayers& layers);
  ~HeadlessRenderer();
  HeadlessRenderer(const HeadlessRenderer&) = delete;
  HeadlessRenderer& operator=(const HeadlessRenderer&) = delete;

  FrameComposer& Composer() { return composer_; }
  // Plays the host's next frame and gives its picture, with the host's windows drawn on top.
  Image RenderNextFrame(const std::function<void()>& hostWindows = {});

 private:
  void Draw(ImDrawData* data);

  Host& host_;
  FrameLayers layers_;
  HeadlessGlContext gl_;
  OffscreenFramebuffer framebuffer_;
  FrameComposer composer_;
};

}  // namespace devhost
