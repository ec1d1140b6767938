// One car's input for the current frame, as the panel shows it.
#pragma once

#include <string>

struct CarInputSample {
  std::string ownerName;
  float throttle = 0;  // unclamped: the host may report values beyond -1 to 1
  float steer = 0;     // unclamped
  float roll = 0;      // roll rate, normalised and clamped to -1 to 1; 0 on the ground
  bool boost = false;
  bool jump = false;
  bool handbrake = false;
};
