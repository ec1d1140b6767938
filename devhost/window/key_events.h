// The window's keys and typed characters as events rather than as a state read once a frame: a
// press and release that both fall between two frames still count, for the scene's keys and for
// Dear ImGui alike, and characters stay in order with the keys around them.
#pragma once

#include <vector>

struct GLFWwindow;
struct ImGuiIO;

namespace devhost {

struct KeyPress {
  int key;      // GLFW_KEY_...
  bool repeat;  // the system's repeat of a held key
};

class KeyEvents {
 public:
  // Before Dear ImGui's backend attaches to the window, so that its callbacks hand every event on
  // to these.
  void Attach(GLFWwindow* window);

  // Before the UI frame begins: this frame's share of the events, oldest first, for Dear ImGui
  // (which reads keys as a state, and in a text field takes a frame's characters before its keys)
  // and as the presses returned, repeats included. A share ends before a key changes twice (a key
  // that only types may), before an editing key (Enter, Esc, the arrows, the F keys) that follows
  // characters, and after an editing key; the rest waits for the next frame.
  std::vector<KeyPress> FeedUi(ImGuiIO& io);

 private:
  struct Event {
    int key;  // -1 for a character
    bool down;
    bool repeat;
    unsigned character;
  };
  static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
  static void OnCharacter(GLFWwindow* window, unsigned character);

  std::vector<Event> events_;  // oldest first
};

}  // namespace devhost
