// The console window along the bottom of the window: the playback state, the key hints, the log
// and a line to type commands into, with completion on Tab and the history on Up and Down.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/console_completion.h"
#include "host/value_types.h"
#include "window/console_history.h"
#include "window/console_log.h"

struct ImGuiInputTextCallbackData;

namespace devhost {

struct ConsoleStatus {
  double time, duration;  // scene seconds
  long long frame;        // the scene frame shown
  bool paused;
};

class ConsoleWindow {
 public:
  static constexpr float kHeight = 150;

  using Complete = std::function<Completion(const std::string& typed)>;
  // Completions with several choices list them in the log.
  ConsoleWindow(ConsoleLog& log, ConsoleHistory& history, Complete complete);

  // Draws it into the current Dear ImGui frame of a window of the given size; returns a line
  // entered this frame. Enter outside any text field takes the line the keyboard; Esc in the line
  // leaves it, keeping what it holds.
  std::optional<std::string> Draw(Vector2 windowSize, const ConsoleStatus& status);

 private:
  static int OnLineEvent(ImGuiInputTextCallbackData* data);
  void DrawLog();
  // The prompt and the line; a line entered.
  std::optional<std::string> DrawLine();
  void CarryCharacters(bool taking);

  ConsoleLog& log_;
  ConsoleHistory& history_;
  Complete complete_;
  char input_[1024] = {};
  unsigned lineId_ = 0;             // the line's Dear ImGui id, once drawn
  std::vector<unsigned> carried_;   // typed in the frame the line took the keyboard
  bool takesKeyboardNext_ = false;  // it takes it next frame
};

}  // namespace devhost
