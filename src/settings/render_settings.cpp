// The plugin's page in the host's settings window. Widgets show and edit the mirrored fields; a
// change is written through to its console variable on the frame it is made, and a frame without
// an edit makes no host call.
#include <imgui.h>

#include <string>

#include "host/cvar_wrappers.h"
#include "plugin/veyrant.h"

namespace {

void WriteSwitch(CVarManagerWrapper& cvarManager, const char* name, bool value) {
  cvarManager.getCvar(std::string(name)).setValue(value ? 1 : 0);
}

void WriteFloat(CVarManagerWrapper& cvarManager, const char* name, float value) {
  cvarManager.getCvar(std::string(name)).setValue(value);
}

// A check box that writes its variable when clicked.
void SwitchRow(CVarManagerWrapper& cvarManager, const char* label, bool& field,
               const char* cvarName) {
  if (ImGui::Checkbox(label, &field)) WriteSwitch(cvarManager, cvarName, field);
}

}  // namespace

void Veyrant::RenderSettings() {
  CVarManagerWrapper& cvars = *cvarManager;

  SwitchRow(cvars, "Show overlay in replays", settings.enabled, "veyrant_enabled");
  ImGui::Separator();
  ImGui::Spacing();

  ImGui::Text("Position (%% of screen)");
  float xPercent = settings.posX * 100.0f;
  float yPercent = settings.posY * 100.0f;
  // Power 1.0: a linear slider.
  if (ImGui::SliderFloat("X (%)", &xPercent, 0.0f, 100.0f, "%.1f%%", 1.0f)) {
    settings.posX = xPercent / 100.0f;
    WriteFloat(cvars, "veyrant_x", settings.posX);
  }
  if (ImGui::SliderFloat("Y (%)", &yPercent, 0.0f, 100.0f, "%.1f%%", 1.0f)) {
    settings.posY = yPercent / 100.0f;
    WriteFloat(cvars, "veyrant_y", settings.posY);
  }
  ImGui::Spacing();

  ImGui::Text("Size");
  if (ImGui::SliderFloat("Scale", &settings.scale, 0.5f, 3.0f, "%.2fx", 1.0f)) {
    WriteFloat(cvars, "veyrant_scale", settings.scale);
  }
  ImGui::Separator();
  ImGui::Spacing();

  ImGui::Text("Show / hide elements");
  ImGui::Spacing();
  SwitchRow(cvars, "Throttle / Brake", settings.showThrottle, "veyrant_throttle");
  SwitchRow(cvars, "Steer", settings.showSteer, "veyrant_steer");
  SwitchRow(cvars, "Airroll", settings.showRoll, "veyrant_roll");
  ImGui::Spacing();
  SwitchRow(cvars, "Boost", settings.showBoost, "veyrant_boost");
  SwitchRow(cvars, "Jump", settings.showJump, "veyrant_jump");
  SwitchRow(cvars, "Handbrake", settings.showHandbrake, "veyrant_hb");
  ImGui::Separator();
  ImGui::Spacing();

  SwitchRow(cvars, "Show values on bars", settings.showValues, "veyrant_values");
}

std::string Veyrant::GetPluginName() { return "Veyrant"; }

void Veyrant::SetImGuiContext(std::uintptr_t ctx) {
  ImGui::SetCurrentContext(reinterpret_cast<ImGuiContext*>(ctx));
}
