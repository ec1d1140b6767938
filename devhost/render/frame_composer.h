// One rendered frame as Dear ImGui draw data of the host's own context: the backdrop, the
// plugin's canvas calls painted over it, and the host's windows on top. Independent of where the
// frame goes (an offscreen framebuffer or a window).
#pragma once

#include <functional>

#include "render/painting_canvas.h"
#include "ui/host_ui_context.h"

struct ImDrawData;

namespace devhost {

class Host;

struct FrameLayers {
  bool backdrop = true;  // off: only the overlay, over transparency
  bool field = true;     // off: the backdrop's cars only, for a field laid underneath
};

class FrameComposer {
 public:
  FrameComposer(Vector2 size, double frameSeconds);

  HostUiContext& Ui() { return ui_; }
  // What the plugin paints on; it measures text as the frames draw it.
  PaintingCanvas& Canvas() { return canvas_; }

  // Plays the host's next frame showing the scene at sceneSeconds; then drawHostUi draws the
  // host's own windows on top. The draw data stays valid until the next call. The renderer
  // backend's NewFrame must have run in this UI context.
  ImDrawData* Compose(Host& host, double sceneSeconds, const FrameLayers& layers,
                      const std::function<void()>& drawHostUi = {});
  // A frame of the backdrop's field alone, or of nothing without the backdrop: the part of every
  // frame that never changes. It also settles what takes a frame to settle (textures, window
  // sizes) before the first real frame.
  ImDrawData* ComposeField(const FrameLayers& layers);

 private:
  Vector2 size_;
  HostUiContext ui_;
  PaintingCanvas canvas_;
};

}  // namespace devhost
