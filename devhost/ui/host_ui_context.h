// The host's own Dear ImGui context, from the host executable's copy of the library (never the
// plugin's): one per window of the host's own, with its font atlas built (the host's font, see
// host_font.h) and every frame's timing fixed, so that what is drawn and where widgets sit is the
// same from run to run.
#pragma once

#include <cstdint>

#include "host/value_types.h"

struct ImGuiContext;
struct ImDrawData;
struct ImFont;
struct ImGuiIO;

namespace devhost {

class HostUiContext {
 public:
  // Throws FontError when the host's font cannot be had.
  explicit HostUiContext(Vector2 displaySize, double frameSeconds = 1.0 / 60.0);
  ~HostUiContext();
  HostUiContext(const HostUiContext&) = delete;
  HostUiContext& operator=(const HostUiContext&) = delete;

  ImGuiContext* Context() const { return context_; }
  // The value the host hands a plugin's SetImGuiContext.
  std::uintptr_t ContextHandle() const { return reinterpret_cast<std::uintptr_t>(context_); }
  // The host's font, from the built atlas.
  const ImFont& Font() const { return *font_; }

  // This context's input and output, made current in the host's copy. Keys are pressed by their
  // ImGuiKey value: the key map sends each to the KeysDown entry of the same index.
  ImGuiIO& Input();

  // Makes this context current in the host's copy and starts a frame.
  void BeginFrame();
  // Ends the frame; the draw data stays valid until the next BeginFrame.
  ImDrawData* EndFrame();
  std::int64_t FramesBegun() const { return framesBegun_; }

 private:
  ImGuiContext* context_ = nullptr;
  const ImFont* font_ = nullptr;
  std::int64_t framesBegun_ = 0;
};

}  // namespace devhost
