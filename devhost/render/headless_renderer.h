// Frames rendered with no display and no GPU: the composed frame drawn by Dear ImGui's OpenGL 3
// backend into an offscreen framebuffer and read back as a picture. The software rasteriser spends
// more on a 1080p frame than everything else, so it paints as little as it can: a frame is drawn
// only when its picture is asked for (a frame nobody reads needs no pixels), and the backdrop's
// field, the same in every frame, is drawn once and copied under each frame. The same frames give
// the same pixels from run to run, and the same as drawing every frame whole.
#pragma once

#include <memory>
#include <optional>

#include "render/frame_composer.h"
#include "render/headless_gl_context.h"
#include "render/image.h"
#include "render/image_pool.h"
#include "render/offscreen_framebuffer.h"

namespace devhost {

class HeadlessRenderer {
 public:
  // Throws RenderError if there is no OpenGL 3.3 to be had. The field is drawn at once (see
  // FrameComposer::ComposeField).
  HeadlessRenderer(Host& host, Vector2 size, const FrameLayers& layers);
  ~HeadlessRenderer();
  HeadlessRenderer(const HeadlessRenderer&) = delete;
  HeadlessRenderer& operator=(const HeadlessRenderer&) = delete;

  FrameComposer& Composer() { return composer_; }
  // Plays the host's next frame and composes it, with the host's windows on top.
  void RenderNextFrame(const std::function<void()>& drawHostUi = {});
  // The picture of the frame rendered last, drawn now. Its memory serves a later frame once every
  // holder has let go of it.
  std::shared_ptr<const Image> ReadFrame();

 private:
  void Draw(ImDrawData* data);

  Host& host_;
  FrameLayers layers_;
  HeadlessGlContext gl_;
  OffscreenFramebuffer framebuffer_;
  std::optional<OffscreenFramebuffer> field_;  // with the backdrop
  FrameComposer composer_;
  ImDrawData* undrawn_ = nullptr;  // the frame composed last, until it is drawn
  ImagePool pictures_;
};

}  // namespace devhost
