// The eleven console variables, once: name, default text and description in registration order,
// each with the field it feeds. onLoad registers them from this table and the settings page finds
// a field's variable in it, so no variable's name is written anywhere else.
#pragma once

#include <string>
#include <type_traits>

#include "host/cvar_wrappers.h"
#include "plugin/overlay_settings.h"
#include "plugin/veyrant.h"

struct SettingVariable {
  const char* name;
  const char* defaultText;
  const char* description;
  // The field it feeds: one of the two is set.
  float OverlaySettings::*floatField = nullptr;
  bool OverlaySettings::*boolField = nullptr;
  // The change hook that copies the variable's value into the field; it holds only the plugin.
  CVarWrapper::ValueChanged (*makeHook)(Veyrant* plugin) = nullptr;
};

namespace settings_variables {

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

template <auto Field>
constexpr SettingVariable Variable(const char* name, const char* defaultText,
                                   const char* description) {
  if constexpr (std::is_same_v<decltype(Field), float OverlaySettings::*>)
    return {name, defaultText, description, Field, nullptr, &FloatHook<Field>};
  else
    return {name, defaultText, description, nullptr, Field, &BoolHook<Field>};
}

}  // namespace settings_variables

// Registration order is part of what the host sees.
inline constexpr SettingVariable kSettingVariables[] = {
    settings_variables::Variable<&OverlaySettings::posX>("veyrant_x", "0.01", "X position (0-1)"),
    settings_variables::Variable<&OverlaySettings::posY>("veyrant_y", "0.02", "Y position (0-1)"),
    settings_variables::Variable<&OverlaySettings::scale>("veyrant_scale", "1.0", "Size scale"),
    settings_variables::Variable<&OverlaySettings::enabled>("veyrant_enabled", "1", "Show overlay"),
    settings_variables::Variable<&OverlaySettings::showThrottle>("veyrant_throttle", "1",
                                                                 "Show throttle"),
    settings_variables::Variable<&OverlaySettings::showSteer>("veyrant_steer", "1", "Show steer"),
    settings_variables::Variable<&OverlaySettings::showRoll>("veyrant_roll", "1", "Show airroll"),
    settings_variables::Variable<&OverlaySettings::showBoost>("veyrant_boost", "1", "Show boost"),
    settings_variables::Variable<&OverlaySettings::showJump>("veyrant_jump", "1", "Show jump"),
    settings_variables::Variable<&OverlaySettings::showHandbrake>("veyrant_hb", "1",
                                                                  "Show handbrake"),
    settings_variables::Variable<&OverlaySettings::showValues>("veyrant_values", "0",
                                                               "Show bar values"),
};

// The variable that feeds the field.
template <typename T>
constexpr const char* VariableNameOf(T OverlaySettings::*field) {
  for (const SettingVariable& variable : kSettingVariables) {
    if constexpr (std::is_same_v<T, float>) {
      if (variable.floatField == field) return variable.name;
    } else {
      if (variable.boolField == field) return variable.name;
    }
  }
  return nullptr;
}
