// Handles on the game camera.
#pragma once

#include "host/actor_wrappers.h"
#include "host/value_types.h"

class PRYNDAL_SDK_API BaseCameraWrapper : public ActorWrapper {
 public:
  using ActorWrapper::ActorWrapper;
  ViewTarget GetViewTarget();
};

class PRYNDAL_SDK_API CameraWrapper : public BaseCameraWrapper {
 public:
  using BaseCameraWrapper::BaseCameraWrapper;
};
