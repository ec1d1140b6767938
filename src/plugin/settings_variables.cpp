// onLoad: the eleven console variables, each with the hook that mirrors it into its field, then
// the drawable and the load line.
#include "plugin/settings_variables.h"

#include <string>

#include "host/cvar_wrappers.h"
#include "host/game_wrapper.h"
#include "plugin/veyrant.h"

namespace {

// A default text as a number: a decimal such as "0.01", read as its digits over a power of ten,
// one rounding, as the float literal rounds.
constexpr float DecimalValue(const char* text) {
  long long digits = 0, scale = 1;
  bool fraction = false;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '.') {
      fraction = true;
      continue;
    }
    digits = digits * 10 + (*c - '0');
    if (fraction) scale *= 10;
  }
  return static_cast<float>(digits) / static_cast<float>(scale);
}

constexpr bool DefaultsAgree() {
  const OverlaySettings defaults{};
  for (const SettingVariable& variable : kSettingVariables) {
    const float value = DecimalValue(variable.defaultText);
    if (variable.floatField != nullptr && defaults.*variable.floatField != value) return false;
    if (variable.boolField != nullptr && defaults.*variable.boolField != (value != 0)) return false;
  }
  return true;
}
static_assert(DefaultsAgree(), "each variable's default text must read as its field's default");

}  // namespace

void Veyrant::onLoad() {
  for (const SettingVariable& variable : kSettingVariables) {
    cvarManager
        ->registerCvar(variable.name, variable.defaultText, variable.description, true, false, 0.0f,
                       false, 0.0f, true)
        .addOnValueChanged(variable.makeHook(this));
  }
  gameWrapper->RegisterDrawable(
      [plugin = this](CanvasWrapper canvas) { plugin->RenderOverlay(canvas); });
  cvarManager->log("Veyrant loaded");
}
