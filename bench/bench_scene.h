// The benchmarks' scene: a number of cars with every element busy, and a camera that follows the
// first car or none (then every car gets a panel).
#pragma once

#include <string>

namespace bench {

inline std::string SceneJson(int cars, bool followFirst) {
  std::string json = R"({"fps": 60, "duration": 10, "camera": [{"t": 0, "target": )";
  json += followFirst ? "0" : "null";
  json += R"(}], "cars": [)";
  for (int i = 0; i < cars; ++i) {
    if (i > 0) json += ",";
    json += R"({"name": "Driver )" + std::to_string(i) +
            R"(", "keys": [{"t": 0, "throttle": -0.5, "steer": 0.25, "boost": true},
                            {"t": 10, "throttle": 1, "steer": -1, "onGround": false,
                             "angularVelocity": [4, 0, 0]}]})";
  }
  return json + "]}";
}

}  // namespace bench
