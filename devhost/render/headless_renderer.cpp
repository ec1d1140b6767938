#include "render/headless_renderer.h"

#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include "core/host.h"
#include "render/render_error.h"

namespace devhost {

HeadlessRenderer::HeadlessRenderer(Host& host, Vector2 size, const FrameLayers& layers)
    : host_(host),
      layers_(layers),
      framebuffer_(size),
      composer_(size, 1.0 / host.CurrentScene().fps) {
  ImGui::SetCurrentContext(composer_.Session().Context());
  if (!ImGui_ImplOpenGL3_Init("#version 330 core"))
    throw RenderError("Dear ImGui's OpenGL 3 renderer did not start (is libgl1 installed?)");
  ImGui_ImplOpenGL3_NewFrame();
  Draw(composer_.ComposeWarmUp(host_, layers_));
}

HeadlessRenderer::~HeadlessRenderer() {
  ImGui::SetCurrentContext(composer_.Session().Context());
  ImGui_ImplOpenGL3_Shutdown();
}

void HeadlessRenderer::Draw(ImDrawData* data) {
  framebuffer_.BeginDrawing();
  ImGui_ImplOpenGL3_RenderDrawData(data);
}

Image HeadlessRenderer::RenderNextFrame(const std::function<void()>& hostWindows) {
  ImGui::SetCurrentContext(composer_.Session().Context());
  ImGui_ImplOpenGL3_NewFrame();
  Draw(composer_.Compose(host_, host_.NextFrameTime(), layers_, hostWindows));
  return framebuffer_.Read(!layers_.backdrop);
}

}  // namespace devhost
