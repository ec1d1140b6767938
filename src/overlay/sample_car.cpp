#include "overlay/sample_car.h"

#include <algorithm>

namespace {
// The roll rate, in radians per second, that fills the roll bar.
constexpr float kFullRollRate = 5.5f;

// Rotation rate about the car's own forward axis, normalised and clamped to -1 to 1.
float RollOf(const RBState& state) {
  const float x = state.Quaternion.X, y = state.Quaternion.Y, z = state.Quaternion.Z,
              w = state.Quaternion.W;
  const float fx = 1.0f - 2.0f * (y * y + z * z);
  const float fy = 2.0f * (x * y + z * w);
  const float fz = 2.0f * (x * z - y * w);
  const Vector& a = state.AngularVelocity;
  const float v = (fx * a.X + fy * a.Y + fz * a.Z) / kFullRollRate;
  return v < -1.0f ? -1.0f : std::min(1.0f, v);
}
}  // namespace

void SampleCar(CarWrapper car, std::vector<CarInputSample>& samples) {
  const ControllerInput input = car.GetInput();
  CarInputSample sample;
  sample.ownerName = car.GetOwnerName();
  sample.throttle = input.Throttle;
  sample.steer = input.Steer;
  sample.boost = (input.Flags & ControllerInput::kBoost) != 0;
  sample.jump = (input.Flags & ControllerInput::kJump) != 0;
  sample.handbrake = (input.Flags & ControllerInput::kHandbrake) != 0;
  sample.roll = car.IsOnGround() ? 0.0f : RollOf(car.GetRBState());
  samples.push_back(sample);
}
