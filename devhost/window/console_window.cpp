#include "window/console_window.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <utility>

#include "window/window_keys.h"

namespace devhost {

namespace {

const ImVec4 kCommandColour(0.65f, 0.8f, 1, 1), kErrorColour(1, 0.4f, 0.4f, 1);

bool Pressed(ImGuiKey key) { return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key), false); }

void Replace(ImGuiInputTextCallbackData& data, int count, const std::string& text) {
  data.DeleteChars(0, count);
  data.InsertChars(0, text.c_str());
}

}  // namespace

ConsoleWindow::ConsoleWindow(ConsoleLog& log, ConsoleHistory& history, Complete complete)
    : log_(log), history_(history), complete_(std::move(complete)) {}

int ConsoleWindow::OnLineEvent(ImGuiInputTextCallbackData* data) {
  auto& self = *static_cast<ConsoleWindow*>(data->UserData);
  if (data->EventFlag == ImGuiInputTextFlags_CallbackCompletion) {
    // What follows the cursor stays as it is.
    const Completion completion =
        self.complete_(std::string(data->Buf, static_cast<std::size_t>(data->CursorPos)));
    Replace(*data, data->CursorPos, completion.line);
    std::string choices;
    for (const auto& choice : completion.choices) choices += (choices.empty() ? "" : "  ") + choice;
    if (!choices.empty()) self.log_.Add(LogLine::Kind::Output, choices);
    return 0;
  }
  const std::optional<std::string> line =
      data->EventKey == ImGuiKey_UpArrow ? self.history_.Older(data->Buf) : self.history_.Newer();
  if (line) Replace(*data, data->BufTextLen, *line);
  return 0;
}

// Dear ImGui moves the keyboard to the line a frame after it is asked, and the line drops the
// characters of the frame it takes it in: those go into it a frame later, ahead of what came since.
void ConsoleWindow::CarryCharacters(bool taking) {
  auto& queue = ImGui::GetIO().InputQueueCharacters;
  if (taking) {
    carried_.assign(queue.begin(), queue.end());
    queue.resize(0);
    return;
  }
  for (auto c = carried_.rbegin(); c != carried_.rend(); ++c)
    queue.insert(queue.begin(), static_cast<ImWchar>(*c));
  carried_.clear();
}

std::optional<std::string> ConsoleWindow::Draw(Vector2 windowSize, const ConsoleStatus& status) {
  const float width = static_cast<float>(windowSize.X), height = static_cast<float>(windowSize.Y);
  const ImGuiWindowFlags fixed =
      ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse;
  ImGui::SetNextWindowPos(ImVec2(0, height - kHeight), ImGuiCond_Always);
  ImGui::SetNextWindowSize(ImVec2(width, kHeight), ImGuiCond_Always);
  ImGui::SetNextWindowBgAlpha(0.75f);
  ImGui::Begin("Console", nullptr, fixed);
  ImGui::Text("t %.2f s / %.0f s   frame %lld   %s", status.time, status.duration, status.frame,
              status.paused ? "paused" : "playing");
  ImGui::TextDisabled("%s", KeyHints().c_str());
  ImGui::Separator();
  DrawLog();
  std::optional<std::string> entered = DrawLine();
  ImGui::End();
  return entered;
}

void ConsoleWindow::DrawLog() {
  ImGui::BeginChild("log", ImVec2(0, -ImGui::GetFrameHeightWithSpacing()));
  for (const auto& line : log_.Lines()) {
    const bool coloured = line.kind != LogLine::Kind::Output;
    if (coloured)
      ImGui::PushStyleColor(ImGuiCol_Text,
                            line.kind == LogLine::Kind::Error ? kErrorColour : kCommandColour);
    ImGui::TextUnformatted(line.text.c_str());
    if (coloured) ImGui::PopStyleColor();
  }
  if (ImGui::GetScrollY() >= ImGui::GetScrollMaxY()) ImGui::SetScrollHereY(1.0f);
  ImGui::EndChild();
}

std::optional<std::string> ConsoleWindow::DrawLine() {
  ImGui::TextUnformatted(">");
  ImGui::SameLine();
  ImGui::SetNextItemWidth(-1);
  const bool inLine = lineId_ != 0 && ImGui::GetActiveID() == lineId_;
  // Taking the keyboard this frame, as asked for in the last.
  const bool taking = std::exchange(takesKeyboardNext_, false);
  const bool leave = (inLine || taking) && Pressed(ImGuiKey_Escape);
  // Before the line sees the keys: its own Esc would also throw away what it holds.
  if (leave && inLine) ImGui::ClearActiveID();
  CarryCharacters(taking);
  if (!inLine && !ImGui::GetIO().WantTextInput && Pressed(ImGuiKey_Enter)) {
    ImGui::SetKeyboardFocusHere();
    takesKeyboardNext_ = true;
  }
  std::optional<std::string> entered;
  const ImGuiInputTextFlags flags = ImGuiInputTextFlags_EnterReturnsTrue |
                                    ImGuiInputTextFlags_CallbackCompletion |
                                    ImGuiInputTextFlags_CallbackHistory;
  if (ImGui::InputText("##line", input_, sizeof input_, flags, OnLineEvent, this)) {
    if (input_[0] != '\0') entered = input_;
    input_[0] = '\0';
    ImGui::SetKeyboardFocusHere(-1);
    takesKeyboardNext_ = true;
  }
  lineId_ = ImGui::GetItemID();
  if (leave && taking) ImGui::ClearActiveID();
  return entered;
}

}  // namespace devhost
