// The plugin's page in the host's settings window. Widgets show and edit the mirrored fields; a
// change is written through to its console variable on the frame it is made, and a frame without
// an edit makes no host call.
#include <imgui.h>

#include <string>

#include "host/cvar_wrappers.h"
#include "plugin/settings_variables.h"
#include "plugin/veyrant.h"

namespace {

// The field's variable, fetched afresh by its name, gets the field's value.
void WriteSwitch(CVarManagerWrapper& cvarManager, const OverlaySettings& settings,
                 bool OverlaySettings::*field) {
  cvarManager.getCvar(std::string(VariableNameOf(field))).setValue(settings.*field ? 1 : 0);
}

void WriteFloat(CVarManagerWrapper& cvarManager, const OverlaySettings& settings,
                float OverlaySettings::*field) {
  cvarManager.getCvar(std::string(VariableNameOf(field))).setValue(settings.*field);
}

// A check box that writes its variable when clicked.
void SwitchRow(CVarManagerWrapper& cvarManager, const char* label, OverlaySettings& settings,
               bool OverlaySettings::*field) {
  if (ImGui::Checkbox(label, &(settings.*field))) WriteSwitch(cvarManager, settings, field);
}

}  // namespace

void Veyrant::RenderSettings() {
  CVarManagerWrapper& cvars = *cvarManager;

  SwitchRow(cvars, "Show overlay in replays", settings, &OverlaySettings::enabled);
  ImGui::Separator();
  ImGui::Spacing();

  ImGui::Text("Position (%% of screen)");
  float xPercent = settings.posX * 100.0f;
  float yPercent = settings.posY * 100.0f;
  // Power 1.0: a linear slider.
  if (ImGui::SliderFloat("X (%)", &xPercent, 0.0f, 100.0f, "%.1f%%", 1.0f)) {
    settings.posX = xPercent / 100.0f;
    WriteFloat(cvars, settings, &OverlaySettings::posX);
  }
  if (ImGui::SliderFloat("Y (%)", &yPercent, 0.0f, 100.0f, "%.1f%%", 1.0f)) {
    settings.posY = yPercent / 100.0f;
    WriteFloat(cvars, settings, &OverlaySettings::posY);
  }
  ImGui::Spacing();

  ImGui::Text("Size");
  if (ImGui::SliderFloat("Scale", &settings.scale, 0.5f, 3.0f, "%.2fx", 1.0f)) {
    WriteFloat(cvars, settings, &OverlaySettings::scale);
  }
  ImGui::Separator();
  ImGui::Spacing();

  ImGui::Text("Show / hide elements");
  ImGui::Spacing();
  SwitchRow(cvars, "Throttle / Brake", settings, &OverlaySettings::showThrottle);
  SwitchRow(cvars, "Steer", settings, &OverlaySettings::showSteer);
  SwitchRow(cvars, "Airroll", settings, &OverlaySettings::showRoll);
  ImGui::Spacing();
  SwitchRow(cvars, "Boost", settings, &OverlaySettings::showBoost);
  SwitchRow(cvars, "Jump", settings, &OverlaySettings::showJump);
  SwitchRow(cvars, "Handbrake", settings, &OverlaySettings::showHandbrake);
  ImGui::Separator();
  ImGui::Spacing();

  SwitchRow(cvars, "Show values on bars", settings, &OverlaySettings::showValues);
}

std::string Veyrant::GetPluginName() { return "Veyrant"; }

void Veyrant::SetImGuiContext(std::uintptr_t ctx) {
  ImGui::SetCurrentContext(reinterpret_cast<ImGuiContext*>(ctx));
}
