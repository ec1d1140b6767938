// Frames rendered with no display and no GPU: the composed frame drawn by Dear ImGui's OpenGL 3
// backend into an offscreen framebuffer and read back as a picture. A frame is drawn only when its
// picture is asked for: the software rasteriser spends more on a 1080p frame than the rest of the
// frame together, and a frame nobody reads needs no pixels. The same frames give the same pixels
// from run to run.
#pragma once

#include <memory>

#include "render/frame_composer.h"
#include "render/headless_gl_context.h"
#include "render/image.h"
#include "render/image_pool.h"
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
  // Plays the host's next frame and composes it, with the host's windows on top.
  void RenderNextFrame(const std::function<void()>& hostWindows = {});
  // The picture of the frame rendered last, drawn now. Its memory serves a later frame once every
  // holder has let go of it.
  std::shared_ptr<const Image> ReadFrame();

 private:
  void Draw(ImDrawData* data);

  Host& host_;
  FrameLayers layers_;
  HeadlessGlContext gl_;
  OffscreenFramebuffer framebuffer_;
  FrameComposer composer_;
  ImDrawData* undrawn_ = nullptr;  // the frame composed last, until it is drawn
  ImagePool pictures_;
};

}  // namespace devhost
