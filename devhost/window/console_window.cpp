#include "window/console_window.h"

#include <imgui.h>

namespace devhost {

std::optional<std::string> ConsoleWindow::Draw(Vector2 windowSize, const ConsoleStatus& status,
                                               const ConsoleLog& log) {
  const float width = static_cast<float>(windowSize.X), height = static_cast<float>(windowSize.Y);
  const ImGuiWindowFlags fixed =
      ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse;
  const float consoleHeight = 150;
  ImGui::SetNextWindowPos(ImVec2(0, height - consoleHeight), ImGuiCond_Always);
  ImGui::SetNextWindowSize(ImVec2(width, consoleHeight), ImGuiCond_Always);
  ImGui::SetNextWindowBgAlpha(0.75f);
  ImGui::Begin("Console", nullptr, fixed);
  ImGui::Text("t %.2f s / %.0f s   frame %lld   %s", status.time, status.duration, status.frame,
              status.paused ? "paused" : "playing");
  ImGui::TextDisabled(
      "[Space] play/pause  [Left/Right] step  [PgUp/PgDn] +-1 s  [Home] start  [F1] settings  "
      "[F12] screenshot  [Esc] quit");
  ImGui::Separator();
  ImGui::BeginChild("log", ImVec2(0, -ImGui::GetFrameHeightWithSpacing()));
  for (const auto& line : log.Lines()) ImGui::TextUnformatted(line.c_str());
  if (ImGui::GetScrollY() >= ImGui::GetScrollMaxY()) ImGui::SetScrollHereY(1.0f);
  ImGui::EndChild();
  ImGui::SetNextItemWidth(-1);
  std::optional<std::string> entered;
  if (ImGui::InputText("##line", input_, sizeof input_, ImGuiInputTextFlags_EnterReturnsTrue)) {
    if (input_[0] != '\0') entered = input_;
    input_[0] = '\0';
    ImGui::SetKeyboardFocusHere(-1);
  }
  ImGui::End();
  return entered;
}

}  // namespace devhost
