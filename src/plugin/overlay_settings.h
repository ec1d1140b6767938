// The plugin's mirror of its console variables. Hooks and the settings page write these fields;
// the drawing code reads only them, never the variables.
#pragma once

struct OverlaySettings {
  bool enabled = true;
  float posX = 0.01f;
  float posY = 0.02f;
  float scale = 1.0f;
  bool showThrottle = true;
  bool showSteer = true;
  bool showRoll = true;
  bool showBoost = true;
  bool showJump = true;
  bool showHandbrake = true;
  bool showValues = false;
};
