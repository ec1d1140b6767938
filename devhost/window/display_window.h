// A desktop window with an OpenGL 3.3 core context (GLFW), with Dear ImGui's GLFW and OpenGL 3
// backends attached to the host's own context: input comes in through it, frames go out to it.
#pragma once

#include <vector>

#include "host/value_types.h"
#include "render/image.h"
#include "window/key_events.h"

struct GLFWwindow;
struct ImGuiContext;
struct ImDrawData;

namespace devhost {

// Throws RenderError saying so when there is no display to open a window on.
void RequireDisplay();

class DisplayWindow {
 public:
  // A window of exactly size, not resizable. Throws RenderError when there is no display or no
  // window or context to be had.
  DisplayWindow(Vector2 size, const char* title, ImGuiContext* context);
  ~DisplayWindow();
  DisplayWindow(const DisplayWindow&) = delete;
  DisplayWindow& operator=(const DisplayWindow&) = delete;

  bool CloseRequested() const;
  // Seconds on a steady clock.
  double Now() const;
  // Takes in input, hands Dear ImGui its keys and starts the backends' frame; before the host
  // context's frame begins. Returns the key presses since the last frame.
  std::vector<KeyPress> BeginFrame();
  // Draws the frame into the back buffer; Capture reads it before Show puts it on screen.
  void Draw(ImDrawData* data);
  Image Capture() const;
  void Show();

 private:
  Vector2 size_;
  ImGuiContext* context_;
  GLFWwindow* window_ = nullptr;
  KeyEvents keys_;
};

}  // namespace devhost
