// Reading one car's input and state into the frame's sample list.
#pragma once

#include <vector>

#include "host/actor_wrappers.h"
#include "overlay/car_input_sample.h"

void SampleCar(CarWrapper car, std::vector<CarInputSample>& samples);
