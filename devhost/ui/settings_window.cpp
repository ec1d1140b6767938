#include "ui/settings_window.h"

#include <imgui.h>

#include <string>

#include "sdk/caller.h"
#include "sdk/trace.h"

namespace devhost {

namespace {

ImVec2 ToImVec2(Vector2 v) { return ImVec2(static_cast<float>(v.X), static_cast<float>(v.Y)); }

}  // namespace

SettingsWindow::SettingsWindow(HostUiContext& ui, LoadedPlugin& plugin, SettingsPlacement placement)
    : ui_(ui), plugin_(plugin), placement_(placement) {
  if (plugin.settings == nullptr)
    throw SettingsPageError(plugin.path + ": plugin " + plugin.name +
                            " has no settings page (it is no PluginSettingsWindow)");
}

ImDrawData* SettingsWindow::RunFrame() {
  ui_.BeginFrame();
  Draw();
  return ui_.EndFrame();
}

void SettingsWindow::Draw() {
  PhaseScope phase(Phase::Settings, ui_.FramesBegun() - 1);
  std::string title;
  {
    PluginCallScope call(&plugin_, "GetPluginName");
    title = plugin_.settings->GetPluginName();
    call.SetResult(title);
  }
  const ImGuiCond placed = placement_.movable ? ImGuiCond_Once : ImGuiCond_Always;
  ImGui::SetNextWindowPos(ToImVec2(placement_.position), placed);
  ImGui::SetNextWindowSize(ToImVec2(placement_.size), placed);
  const ImGuiWindowFlags fixed =
      ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse;
  ImGui::Begin(title.c_str(), nullptr,
               ImGuiWindowFlags_NoSavedSettings | (placement_.movable ? 0 : fixed));
  {
    PluginCallScope call(&plugin_, "SetImGuiContext", {ObjectId{"imguiContext"}});
    plugin_.settings->SetImGuiContext(ui_.ContextHandle());
  }
  {
    PluginCallScope call(&plugin_, "RenderSettings");
    plugin_.settings->RenderSettings();
  }
  ImGui::End();
}

}  // namespace devhost
