#include "render/headless_renderer.h"

#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include <utility>

#include "core/host.h"
#include "system/host_errors.h"

namespace devhost {

HeadlessRenderer::HeadlessRenderer(Host& host, Vector2 size, const FrameLayers& layers)
    : host_(host),
      layers_{.backdrop = layers.backdrop, .field = false},
      framebuffer_(size),
      composer_(size, 1.0 / host.CurrentScene().fps) {
  ImGui::SetCurrentContext(composer_.Ui().Context());
  if (!ImGui_ImplOpenGL3_Init("#version 330 core"))
    throw RenderError("Dear ImGui's OpenGL 3 renderer did not start (is libgl1 installed?)");
  ImGui_ImplOpenGL3_NewFrame();
  ImDrawData* field = composer_.ComposeField(layers_);
  if (layers_.backdrop) field_.emplace(size);
  // The backdrop covers the frame; without it the overlay's own alpha is the picture's.
  (field_ ? *field_ : framebuffer_).BeginDrawing(layers_.backdrop);
  ImGui_ImplOpenGL3_RenderDrawData(field);
}

HeadlessRenderer::~HeadlessRenderer() {
  ImGui::SetCurrentContext(composer_.Ui().Context());
  ImGui_ImplOpenGL3_Shutdown();
}

void HeadlessRenderer::Draw(ImDrawData* data) {
  if (field_) {
    framebuffer_.BeginDrawingOver(*field_);
  } else {
    framebuffer_.BeginDrawing(false);
  }
  ImGui_ImplOpenGL3_RenderDrawData(data);
}

void HeadlessRenderer::RenderNextFrame(const std::function<void()>& drawHostUi) {
  ImGui::SetCurrentContext(composer_.Ui().Context());
  ImGui_ImplOpenGL3_NewFrame();
  undrawn_ = composer_.Compose(host_, host_.NextFrameTime(), layers_, drawHostUi);
}

std::shared_ptr<const Image> HeadlessRenderer::ReadFrame() {
  if (undrawn_ != nullptr) {
    ImGui::SetCurrentContext(composer_.Ui().Context());
    Draw(std::exchange(undrawn_, nullptr));
  }
  const Vector2 size = framebuffer_.Size();
  std::shared_ptr<Image> picture = pictures_.Take(size.X, size.Y);
  framebuffer_.Read(*picture, !layers_.backdrop);
  return picture;
}

}  // namespace devhost
