// One settings-page UI frame, as the host runs it: the host's own Dear ImGui context gets a frame,
// the page is handed that context and draws itself inside its window, in phase settings.
#pragma once

#include <imgui.h>

#include "core/host.h"
#include "sdk/caller.h"
#include "sdk/trace.h"
#include "ui/imgui_session.h"

namespace veyrant_test {

class SettingsFrame {
 public:
  explicit SettingsFrame(Vector2 displaySize = {1920, 1080}) : session_(displaySize) {}

  void Run(devhost::LoadedPlugin& plugin) {
    session_.BeginFrame();
    ImGui::Begin("Veyrant");
    {
      devhost::CallerScope caller(&plugin);
      devhost::PhaseScope phase(devhost::Phase::Settings, session_.FramesBegun() - 1);
      plugin.settings->SetImGuiContext(session_.ContextHandle());
      plugin.settings->RenderSettings();
    }
    ImGui::End();
    session_.EndFrame();
  }

 private:
  devhost::ImGuiSession session_;
};

}  // namespace veyrant_test
