// Handles on the current game: the game event and the server that runs it.
#pragma once

#include "host/actor_wrappers.h"
#include "host/array_wrapper.h"

class PRYNDAL_SDK_API GameEventWrapper : public ActorWrapper {
 public:
  using ActorWrapper::ActorWrapper;
  ArrayWrapper<CarWrapper> GetCars();
};

class PRYNDAL_SDK_API ServerWrapper : public GameEventWrapper {
 public:
  using GameEventWrapper::GameEventWrapper;
};
