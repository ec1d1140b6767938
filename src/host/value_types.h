// Plain value types the host hands to plugins: colours, 2-D values, controller input, rigid-body
// state and the camera's view target. Their layouts are read as raw memory on both sides, so they
// are pinned below.
#pragma once

#include <cstddef>
#include <cstdint>

// A colour, each channel a float from 0 to 255.
struct LinearColor {
  float R = 0, G = 0, B = 0, A = 0;
};

// Canvas pixels: x to the right, y downwards from the top-left corner.
struct Vector2 {
  int X = 0, Y = 0;
};

struct Vector2F {
  float X = 0, Y = 0;
};

struct Vector {
  float X = 0, Y = 0, Z = 0;
};

struct Quat {
  float X = 0, Y = 0, Z = 0, W = 1;
};

// One car's controller state. The button flags are one 32-bit word of one-bit flags.
struct ControllerInput {
  float Throttle = 0;
  float Steer = 0;
  float Pitch = 0;
  float Yaw = 0;
  float Roll = 0;
  float DodgeForward = 0;
  float DodgeStrafe = 0;
  std::uint32_t Flags = 0;

  static constexpr std::uint32_t kHandbrake = 1u << 0;
  static constexpr std::uint32_t kJump = 1u << 1;
  static constexpr std::uint32_t kBoost = 1u << 2;
};

// A rigid body's state: orientation first, angular velocity at byte 40.
struct RBState {
  Quat Quaternion;
  Vector Location;
  Vector LinearVelocity;
  Vector AngularVelocity;
  float Time = 0;
  std::uint32_t Sleeping = 0;
};

// What a camera looks at; Target is the viewed object's address, 0 for none.
struct ViewTarget {
  std::uintptr_t Target = 0;
  std::uintptr_t Controller = 0;
  float Rotation = 0;
};

static_assert(sizeof(LinearColor) == 16);
static_assert(sizeof(Vector2) == 8 && sizeof(Vector2F) == 8);
static_assert(offsetof(ControllerInput, Throttle) == 0);
static_assert(offsetof(ControllerInput, Steer) == 4);
static_assert(offsetof(ControllerInput, Flags) == 28 && sizeof(ControllerInput::Flags) == 4);
static_assert(offsetof(RBState, Quaternion) == 0);
static_assert(offsetof(Quat, X) == 0 && offsetof(Quat, Y) == 4 && offsetof(Quat, Z) == 8 &&
              offsetof(Quat, W) == 12);
static_assert(offsetof(RBState, AngularVelocity) == 40);
static_assert(offsetof(ViewTarget, Target) == 0 && sizeof(ViewTarget::Target) == sizeof(void*));
