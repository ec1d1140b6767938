#include "ui/settings_window.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <string>

#include "core/plugin_door.h"
#include "sdk/trace.h"

namespace devhost {

namespace {

ImVec2 ToImVec2(Vector2 v) { return ImVec2(static_cast<float>(v.X), static_cast<float>(v.Y)); }

}  // namespace

SettingsWindow::SettingsWindow(HostUiContext& ui, LoadedPlugin& plugin, SettingsPlacement placement)
    : ui_(ui), plugin_(plugin), placement_(placement) {
  RequireNotFaulted();
  if (plugin.settings == nullptr)
    throw SettingsPageError(plugin.path + ": plugin " + plugin.name +
                            " has no settings page (it is no PluginSettingsWindow)");
}

ImDrawData* SettingsWindow::RunFrame() {
  ui_.BeginFrame();
  Draw();
  return ui_.EndFrame();
}

void SettingsWindow::RequireNotFaulted() const {
  if (plugin_.faulted)
    throw SettingsPageError(plugin_.path + ": plugin " + plugin_.name +
                            " faulted; load it again to show its page");
}

void SettingsWindow::Draw() {
  RequireNotFaulted();
  PhaseScope phase(Phase::Settings, ui_.FramesBegun() - 1);
  PluginDoor& door = *plugin_.door;
  std::string title;
  PluginCall name{"GetPluginName"};
  if (!door.Call(&plugin_, name, [&] {
        title = plugin_.settings->GetPluginName();
        name.result = title;
      }))
    return;
  const ImGuiCond placed = placement_.movable ? ImGuiCond_Once : ImGuiCond_Always;
  ImGui::SetNextWindowPos(ToImVec2(placement_.position), placed);
  ImGui::SetNextWindowSize(ToImVec2(placement_.size), placed);
  const ImGuiWindowFlags fixed =
      ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse;
  ImGui::Begin(title.c_str(), nullptr,
               ImGuiWindowFlags_NoSavedSettings | (placement_.movable ? 0 : fixed));
  // A page that faults midway leaves what it began unended; the window is ended all the same, and
  // also when the fault ends the run.
  struct EndWindow {
    ImGuiWindow* window = ImGui::GetCurrentWindow();
    bool faulted = true;
    ~EndWindow() {
      if (faulted) {
        while (ImGui::GetCurrentWindow() != window) {
          ImGui::ErrorCheckEndWindowRecover(nullptr);
          ImGui::End();
        }
        ImGui::ErrorCheckEndWindowRecover(nullptr);
      }
      ImGui::End();
    }
  } end;
  const bool drawn = door.Call(&plugin_, {"SetImGuiContext", {ObjectId{"imguiContext"}}}, [&] {
    plugin_.settings->SetImGuiContext(ui_.ContextHandle());
  }) && door.Call(&plugin_, {"RenderSettings"}, [&] { plugin_.settings->RenderSettings(); });
  end.faulted = !drawn;
}

}  // namespace devhost
