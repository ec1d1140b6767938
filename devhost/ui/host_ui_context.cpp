#include "ui/host_ui_context.h"

#include <imgui.h>

#include "ui/host_font.h"

namespace devhost {

HostUiContext::HostUiContext(Vector2 displaySize, double frameSeconds) {
  ImGuiContext* previous = ImGui::GetCurrentContext();
  context_ = ImGui::CreateContext();
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // window placement must not depend on an earlier run
  io.LogFilename = nullptr;
  io.DisplaySize = ImVec2(static_cast<float>(displaySize.X), static_cast<float>(displaySize.Y));
  io.DeltaTime = static_cast<float>(frameSeconds);
  for (int key = 0; key < ImGuiKey_COUNT; ++key) io.KeyMap[key] = key;
  try {
    font_ = AddHostFont(*io.Fonts, kHostFontPixels);
  } catch (...) {
    ImGui::DestroyContext(context_);
    ImGui::SetCurrentContext(previous);
    throw;
  }
  // The atlas must exist before the first frame; a renderer uploads these pixels as its texture.
  unsigned char* pixels = nullptr;
  int width = 0, height = 0;
  io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
  ImGui::SetCurrentContext(previous != nullptr ? previous : context_);
}

HostUiContext::~HostUiContext() {
  ImGuiContext* previous = ImGui::GetCurrentContext();
  ImGui::DestroyContext(context_);
  if (previous != context_) ImGui::SetCurrentContext(previous);
}

ImGuiIO& HostUiContext::Input() {
  ImGui::SetCurrentContext(context_);
  return ImGui::GetIO();
}

void HostUiContext::BeginFrame() {
  ImGui::SetCurrentContext(context_);
  ImGui::NewFrame();
  ++framesBegun_;
}

ImDrawData* HostUiContext::EndFrame() {
  ImGui::SetCurrentContext(context_);
  ImGui::Render();
  return ImGui::GetDrawData();
}

}  // namespace devhost
