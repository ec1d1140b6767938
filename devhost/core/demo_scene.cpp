// The scene pryndal-devhost plays when given none: ten seconds of a replay with four cars, the
// camera following the second car and then no car, and one car rolling through the air.
#include "core/scene.h"

namespace devhost {

const std::string& DemoSceneJson() {
  static const std::string json = R"json({
  "fps": 60, "duration": 10,
  "replay": true,
  "gameState": true,
  "camera": [ {"t": 0, "present": true, "target": 1}, {"t": 5, "present": true, "target": null} ],
  "cars": [
    { "name": "Ayla",
      "keys": [ {"t": 0, "throttle": 1, "steer": 0, "boost": true, "position": [0, -2000, 17]},
                {"t": 4, "throttle": 1, "steer": 0.4, "boost": false},
                {"t": 10, "throttle": 0.6, "steer": -0.2, "position": [1500, 2000, 17]} ] },
    { "name": "Brann",
      "keys": [ {"t": 0, "throttle": 0.5, "steer": -1, "handbrake": true,
                 "rotation": [0, 0, 0.3826834, 0.9238795], "position": [-1800, 1500, 17]},
                {"t": 2, "throttle": -1, "steer": 1, "handbrake": false, "position": [-1200, 2200, 17]},
                {"t": 6, "throttle": 1, "steer": 0, "jump": true, "position": [-2000, 1000, 17]},
                {"t": 6.5, "jump": false, "onGround": false, "angularVelocity": [3, 0, 0],
                 "position": [-1700, 300, 250]},
                {"t": 8, "onGround": true, "angularVelocity": [0, 0, 0], "position": [-1000, -800, 17]} ] },
    { "name": "Corvin",
      "keys": [ {"t": 0, "throttle": 0, "onGround": false, "rotation": [0, 0, 0, 1],
                 "angularVelocity": [5.5, 0, 0], "position": [0, 0, 600]},
                {"t": 5, "rotation": [0.7071068, 0, 0, 0.7071068], "angularVelocity": [-5.5, 0, 0]},
                {"t": 10, "rotation": [0, 0, 0, 1], "angularVelocity": [8, 0, 0]} ] },
    { "name": "",
      "keys": [ {"t": 0, "throttle": -0.3, "steer": 0.25, "boost": true, "jump": true,
                 "rotation": [0, 0, 1, 0], "position": [2200, 3500, 17]},
                {"t": 10, "throttle": 0.3, "steer": -0.25, "position": [1200, -1500, 17]} ] }
  ]
})json";
  return json;
}

}  // namespace devhost
