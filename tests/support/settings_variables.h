// The plugin's eleven console variables, in the order onLoad registers them, each with what its
// hook reads it with and the settings page's widget that edits it.
#pragma once

namespace veyrant_test {

struct SettingsVariable {
  const char* name;
  const char* defaultValue;
  const char* description;
  const char* getter;   // the getter its hook reads with
  const char* widget;   // the page's label for it
  const char* edited;   // its value after a click, or a drag to the right end
  const char* leftEnd;  // a slider's value at its left end; nullptr for a check box
};

inline constexpr SettingsVariable kSettingsVariables[] = {
    {"veyrant_x", "0.01", "X position (0-1)", "getFloatValue", "X (%)", "1", "0"},
    {"veyrant_y", "0.02", "Y position (0-1)", "getFloatValue", "Y (%)", "1", "0"},
    {"veyrant_scale", "1.0", "Size scale", "getFloatValue", "Scale", "3", "0.5"},
    {"veyrant_enabled", "1", "Show overlay", "getBoolValue", "Show overlay in replays", "0",
     nullptr},
    {"veyrant_throttle", "1", "Show throttle", "getBoolValue", "Throttle / Brake", "0", nullptr},
    {"veyrant_steer", "1", "Show steer", "getBoolValue", "Steer", "0", nullptr},
    {"veyrant_roll", "1", "Show airroll", "getBoolValue", "Airroll", "0", nullptr},
    {"veyrant_boost", "1", "Show boost", "getBoolValue", "Boost", "0", nullptr},
    {"veyrant_jump", "1", "Show jump", "getBoolValue", "Jump", "0", nullptr},
    {"veyrant_hb", "1", "Show handbrake", "getBoolValue", "Handbrake", "0", nullptr},
    {"veyrant_values", "0", "Show bar values", "getBoolValue", "Show values on bars", "1", nullptr},
};

}  // namespace veyrant_test
