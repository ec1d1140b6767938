// The game as a whole: replay state, current game, camera, and per-frame drawables.
#pragma once

#include <functional>

#include "host/camera_wrappers.h"
#include "host/canvas_wrapper.h"
#include "host/game_event_wrappers.h"
#include "host/object_wrapper.h"

class PRYNDAL_SDK_API GameWrapper : public ObjectWrapper {
 public:
  using ObjectWrapper::ObjectWrapper;
  using Drawable = std::function<void(CanvasWrapper canvas)>;

  // The host calls callback once per rendered frame with that frame's canvas, until the plugin
  // that registered it is unloaded: the host removes it then.
  void RegisterDrawable(Drawable callback);
  bool IsInReplay();
  ServerWrapper GetCurrentGameState();
  CameraWrapper GetCamera();
};
