#include "window/window_keys.h"

#include <GLFW/glfw3.h>
#include <imgui.h>

#include <cstdio>

namespace devhost {

std::vector<std::string> KeyCommands(const PlaybackState& playback, int& screenshots) {
  std::vector<std::string> commands;
  if (ImGui::GetIO().WantCaptureKeyboard) return commands;
  char line[48];
  const auto pressed = [](int key) { return ImGui::IsKeyPressed(key, false); };
  if (pressed(GLFW_KEY_SPACE)) commands.push_back(playback.paused ? "play" : "pause");
  if (ImGui::IsKeyPressed(GLFW_KEY_RIGHT)) commands.push_back("step 1");
  if (ImGui::IsKeyPressed(GLFW_KEY_LEFT)) commands.push_back("step -1");
  if (pressed(GLFW_KEY_PAGE_UP) || pressed(GLFW_KEY_PAGE_DOWN)) {
    std::snprintf(line, sizeof line, "seek %.3f",
                  playback.time + (pressed(GLFW_KEY_PAGE_UP) ? 1.0 : -1.0));
    commands.push_back(line);
  }
  if (pressed(GLFW_KEY_HOME)) commands.push_back("seek 0");
  if (pressed(GLFW_KEY_F1)) commands.push_back("settings");
  if (pressed(GLFW_KEY_F12)) {
    std::snprintf(line, sizeof line, "screenshot screenshot-%03d.png", ++screenshots);
    commands.push_back(line);
  }
  if (pressed(GLFW_KEY_ESCAPE)) commands.push_back("quit");
  return commands;
}

}  // namespace devhost
