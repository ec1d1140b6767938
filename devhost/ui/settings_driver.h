// Works a settings page the way a person does: it looks at what the last UI frame showed, finds a
// widget by its label there, and moves the mouse, presses buttons and types through the host
// context's input, one UI frame at a time. Nothing is taken from the plugin's side.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "system/host_errors.h"
#include "ui/screen_reader.h"
#include "ui/settings_window.h"

namespace devhost {

// A check box or slider as drawn: its label, the frame left of the label, and what it shows.
struct SettingsWidget {
  enum class Kind { CheckBox, Slider };
  std::string label;
  Kind kind = Kind::CheckBox;
  ScreenBox frame;
  std::optional<ScreenBox> grab;  // a slider's, unless its text entry is open
  std::string shown;              // a slider's value text, or its text entry's contents
  bool checked = false;           // a check box's tick
};

class SettingsDriver {
 public:
  // UI frames each action takes. Every action starts by moving the mouse onto its widget and
  // ends with the mouse button and keys released.
  static constexpr int kClickFrames = 2;        // move and press; release
  static constexpr int kDragToValueFrames = 5;  // press; left end; right end; the value; release
  static constexpr int kTypeFrames = 4;         // Ctrl+click; Ctrl+A; the text and Enter; release

  explicit SettingsDriver(SettingsWindow& window);

  // Runs one UI frame with the input as it stands, then reads what it showed.
  void RunFrame();

  // What the last UI frame showed; runs a first frame if none has run yet.
  const std::vector<SettingsWidget>& Widgets();
  // Throws DriverError naming the label and listing the labels found.
  SettingsWidget Find(const std::string& label);

  void Click(const std::string& label);
  // Learns the slider's scale by dragging to both ends, as nothing on screen tells it, then drags
  // to the value. Throws DriverError if the value is out of range or the slider then shows
  // another value at its display precision.
  void DragToValue(const std::string& label, double value);
  // Ctrl+click opens the slider's text entry; select all, type, Enter.
  void Type(const std::string& label, const std::string& text);

 private:
  void EnsureShown();
  // Each runs one UI frame.
  void MoveTo(ImVec2 at);
  void Press(ImVec2 at);
  void Release();
  SettingsWidget Slider(const std::string& label);
  // The x range the grab's centre travels over.
  static std::pair<float, float> Travel(const SettingsWidget& slider);
  double ShownNumber(const std::string& label);

  SettingsWindow& window_;
  bool shown_ = false;
  Screen screen_;
  std::vector<SettingsWidget> widgets_;
};

}  // namespace devhost
