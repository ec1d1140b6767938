#include "render/frame_composer.h"

#include <imgui.h>

#include "core/host.h"
#include "render/backdrop.h"

namespace devhost {

FrameComposer::FrameComposer(Vector2 size, double frameSeconds)
    : size_(size), ui_(size, frameSeconds), canvas_(size) {}

ImDrawData* FrameComposer::Compose(Host& host, double sceneSeconds, const FrameLayers& layers,
                                   const std::function<void()>& drawHostUi) {
  ui_.BeginFrame();
  // The backdrop shows the scene as the frame plays it, yet lies beneath what the plugin draws:
  // the plugin paints into the upper channel first.
  ImDrawList& list = *ImGui::GetBackgroundDrawList();
  list.ChannelsSplit(2);
  list.ChannelsSetCurrent(1);
  canvas_.PaintInto(&list);
  host.RenderFrameAt(sceneSeconds, canvas_);
  canvas_.PaintInto(nullptr);
  list.ChannelsSetCurrent(0);
  if (layers.backdrop && layers.field) DrawField(list, size_);
  if (layers.backdrop) DrawCars(list, ui_.Font(), host.Model(), size_);
  list.ChannelsMerge();
  if (drawHostUi) drawHostUi();
  return ui_.EndFrame();
}

ImDrawData* FrameComposer::ComposeField(const FrameLayers& layers) {
  ui_.BeginFrame();
  if (layers.backdrop) DrawField(*ImGui::GetBackgroundDrawList(), size_);
  return ui_.EndFrame();
}

}  // namespace devhost
