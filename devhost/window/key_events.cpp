#include "window/key_events.h"

#include <GLFW/glfw3.h>
#include <imgui.h>

#include <set>
#include <utility>

namespace devhost {

namespace {

// Escape, Enter, Tab, Backspace, the arrows, the F keys and the keypad: keys a text field or the
// window acts on, which characters must not overtake. Letters and modifiers come with the
// characters they type.
bool Editing(int key) { return key >= GLFW_KEY_ESCAPE && key < GLFW_KEY_LEFT_SHIFT; }

// Held, a letter is a shortcut (Ctrl+A), whose press must be seen; otherwise it only types.
bool ShortcutHeld(const ImGuiIO& io) {
  for (const int key : {GLFW_KEY_LEFT_CONTROL, GLFW_KEY_RIGHT_CONTROL, GLFW_KEY_LEFT_ALT,
                        GLFW_KEY_RIGHT_ALT, GLFW_KEY_LEFT_SUPER, GLFW_KEY_RIGHT_SUPER})
    if (io.KeysDown[key]) return true;
  return false;
}

KeyEvents& Of(GLFWwindow* window) {
  return *static_cast<KeyEvents*>(glfwGetWindowUserPointer(window));
}

}  // namespace

void KeyEvents::Attach(GLFWwindow* window) {
  glfwSetWindowUserPointer(window, this);
  glfwSetKeyCallback(window, OnKey);
  glfwSetCharCallback(window, OnCharacter);
}

void KeyEvents::OnKey(GLFWwindow* window, int key, int, int action, int) {
  // A key GLFW does not know, or one beyond Dear ImGui's table.
  if (key < 0 || key >= IM_ARRAYSIZE(ImGuiIO::KeysDown)) return;
  Of(window).events_.push_back({key, action != GLFW_RELEASE, action == GLFW_REPEAT, 0});
}

void KeyEvents::OnCharacter(GLFWwindow* window, unsigned character) {
  Of(window).events_.push_back({-1, false, false, character});
}

std::vector<KeyPress> KeyEvents::FeedUi(ImGuiIO& io) {
  // The backend's callbacks have set the newest state and queued every character; this frame's
  // share replaces them.
  io.InputQueueCharacters.resize(0);
  std::vector<KeyPress> presses;
  std::set<int> changed;
  bool typed = false;
  std::size_t taken = 0;
  for (; taken < events_.size(); ++taken) {
    const Event& event = events_[taken];
    if (event.key < 0) {
      io.AddInputCharacter(event.character);
      typed = true;
      continue;
    }
    const bool editing = Editing(event.key);
    const bool typing = !editing && event.key < GLFW_KEY_LEFT_SHIFT && !ShortcutHeld(io);
    if (editing && typed) break;
    if (!event.repeat) {
      if (changed.contains(event.key) && !typing) break;
      changed.insert(event.key);
      io.KeysDown[event.key] = event.down;
    }
    if (event.down) presses.push_back({event.key, event.repeat});
    // What a text field or the window does with it comes before anything after it.
    if (editing) {
      ++taken;
      break;
    }
  }
  events_.erase(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(taken));
  // Keys that change in events still waiting show their state before those.
  for (const Event& event : events_)
    if (event.key >= 0 && !event.repeat && changed.insert(event.key).second)
      io.KeysDown[event.key] = !event.down;
  // As the backend derives them, from the state just set.
  const auto down = [&io](int left, int right) { return io.KeysDown[left] || io.KeysDown[right]; };
  io.KeyCtrl = down(GLFW_KEY_LEFT_CONTROL, GLFW_KEY_RIGHT_CONTROL);
  io.KeyShift = down(GLFW_KEY_LEFT_SHIFT, GLFW_KEY_RIGHT_SHIFT);
  io.KeyAlt = down(GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT);
  io.KeySuper = down(GLFW_KEY_LEFT_SUPER, GLFW_KEY_RIGHT_SUPER);
  return presses;
}

}  // namespace devhost
