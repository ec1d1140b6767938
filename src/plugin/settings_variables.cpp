// onLoad: the eleven console variables, each with the hook that mirrors it into its field, then
// the drawable and the load line.
#include <string>

#include "host/cvar_wrappers.h"
#include "host/game_wrapper.h"
#include "plugin/veyrant.h"

namespace {

// Each hook holds only the plugin pointer; the field is part of its type.
template <float OverlaySettings::*Field>
CVarWrapper::ValueChanged FloatHook(Veyrant* plugin) {
  return [plugin](std::string /*oldValue*/, CVarWrapper cvar) {
    plugin->settings.*Field = cvar.getFloatValue();
  };
}

template <bool OverlaySettings::*Field>
CVarWrapper::ValueChanged BoolHook(Veyrant* plugin) {
  return [plugin](std::string /*oldValue*/, CVarWrapper cvar) {
    plugin->settings.*Field = cvar.getBoolValue();
  };
}

struct SettingVariable {
  const char* name;
  const char* defaultValue;
  const char* description;
  CVarWrapper::ValueChanged (*makeHook)(Veyrant*);
};

// Registration order is part of what the host sees.
constexpr SettingVariable kSettingVariables[] = {
    {"veyrant_x", "0.01", "X position (0-1)", &FloatHook<&OverlaySettings::posX>},
    {"veyrant_y", "0.02", "Y position (0-1)", &FloatHook<&OverlaySettings::posY>},
    {"veyrant_scale", "1.0", "Size scale", &FloatHook<&OverlaySettings::scale>},
    {"veyrant_enabled", "1", "Show overlay", &BoolHook<&OverlaySettings::enabled>},
    {"veyrant_throttle", "1", "Show throttle", &BoolHook<&OverlaySettings::showThrottle>},
    {"veyrant_steer", "1", "Show steer", &BoolHook<&OverlaySettings::showSteer>},
    {"veyrant_roll", "1", "Show airroll", &BoolHook<&OverlaySettings::showRoll>},
    {"veyrant_boost", "1", "Show boost", &BoolHook<&OverlaySettings::showBoost>},
    {"veyrant_jump", "1", "Show jump", &BoolHook<&OverlaySettings::showJump>},
    {"veyrant_hb", "1", "Show handbrake", &BoolHook<&OverlaySettings::showHandbrake>},
    {"veyrant_values", "0", "Show bar values", &BoolHook<&OverlaySettings::showValues>},
};

}  // namespace

void Veyrant::onLoad() {
  for (const SettingVariable& variable : kSettingVariables) {
    cvarManager
        ->registerCvar(variable.name, variable.defaultValue, variable.description, true, false,
                       0.0f, false, 0.0f, true)
        .addOnValueChanged(variable.makeHook(this));
  }
  gameWrapper->RegisterDrawable(
      [plugin = this](CanvasWrapper canvas) { plugin->RenderOverlay(canvas); });
  cvarManager->log("Veyrant loaded");
}
