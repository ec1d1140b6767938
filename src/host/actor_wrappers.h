// Handles on game actors: the actor root, rigid bodies, vehicles and cars.
#pragma once

#include <string>

#include "host/object_wrapper.h"
#include "host/value_types.h"

class PRYNDAL_SDK_API ActorWrapper : public ObjectWrapper {
 public:
  using ObjectWrapper::ObjectWrapper;
  // True when the handle wraps no game object.
  bool IsNull() const;
};

class PRYNDAL_SDK_API RBActorWrapper : public ActorWrapper {
 public:
  using ActorWrapper::ActorWrapper;
  RBState GetRBState();
};

class PRYNDAL_SDK_API VehicleWrapper : public RBActorWrapper {
 public:
  using RBActorWrapper::RBActorWrapper;
  bool IsOnGround();
};

class PRYNDAL_SDK_API CarWrapper : public VehicleWrapper {
 public:
  using VehicleWrapper::VehicleWrapper;
  ControllerInput GetInput();
  std::string GetOwnerName();
};

static_assert(sizeof(CarWrapper) == sizeof(void*));
