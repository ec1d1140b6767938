// Scenes: the errors for bad files, and how keys become the game model over time.
#include "core/scene.h"

#include <gtest/gtest.h>

namespace {

TEST(Scene, RefusesBadFilesNamingTheField) {
  const struct {
    const char* json;
    std::string message;  // after "test: "; the JSON library's text may follow
  } cases[] = {
      {"[]", "expected a JSON object at the top"},
      // A number too large for a double is the parser's error, not one of its own.
      {R"({"fps":1e400})", "not valid JSON: "},
      {R"({"fps":0})", "fps: expected a number above 0"},
      {R"({"replay":"yes"})", "replay: expected true or false"},
      {R"({"replay":[{"t":0,"valu":true}]})", "replay[0].valu: unknown key"},
      {R"({"gameState":[{"value":true}]})", "gameState[0].t: missing"},
      {R"({"cars":[{},{"keys":[{"t":0,"position":[0,"x",1]}]}]})",
       "cars[1].keys[0].position[1]: expected a number"},
      {R"({"cars":[{"keys":[{"t":1},{"t":0}]}]})", "cars[0].keys[1].t: keys must be in time order"},
      {R"({"cars":[{"keys":[{"t":0,"rotation":[0,0,1]}]}]})",
       "cars[0].keys[0].rotation: expected an array of 4 numbers"},
      {R"({"cars":[{"name":3}]})", "cars[0].name: expected a string"},
      {R"({"cars":[{}],"camera":{"target":1}})",
       "camera.target: car index 1 out of range (1 cars)"},
      {R"({"camera":[{"t":0,"target":"ball"}]})",
       "camera[0].target: expected a car index, null or \"other\""}};
  for (const auto& c : cases) {
    std::string error = "no error";
    try {
      devhost::ParseScene(c.json, "test");
    } catch (const devhost::SceneError& e) {
      error = e.what();
    }
    EXPECT_EQ(error.substr(0, c.message.size() + 6), "test: " + c.message);
  }
}

TEST(Scene, TimelinesDriveTheModelFloatsInterpolateAndBooleansHold) {
  const devhost::Scene scene = devhost::ParseScene(R"({"gameState": false,
      "replay": [{"t": 0, "value": true}, {"t": 2, "value": false}],
      "camera": [{"t": 0, "target": 1}, {"t": 1, "target": "other"}, {"t": 2, "present": false}],
      "cars": [{"name": "A", "keys": [{"t": 1, "throttle": 2, "steer": -1, "boost": true,
          "jump": true, "handbrake": true, "onGround": false},
          {"t": 3, "throttle": -2, "boost": false, "rotation": [1, 0, 0, 0]}]},
        {"present": [{"t": 0, "value": true}, {"t": 1.5, "value": false}]}]})",
                                                   "test");
  devhost::GameModel model;
  devhost::ApplyScene(scene, 0, model);
  const struct {
    double t;
    float throttle, rotationX;
    bool boost, inReplay, secondCar, camera;
    std::uintptr_t target;
  } cases[] = {{0.5, 2, 0, true, true, true, true, devhost::AddressOf(model.Car(1))},
               {1.5, 1, 0.25f, true, true, false, true, devhost::AddressOf(model.otherObject)},
               {2.5, -1, 0.75f, true, false, false, false, 0},
               {9, -2, 1, false, false, false, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.t);
    devhost::ApplyScene(scene, c.t, model);
    const devhost::CarState& car = *model.carArray.slots.at(0);
    EXPECT_FLOAT_EQ(car.input.Throttle, c.throttle);
    EXPECT_FLOAT_EQ(car.rb.Quaternion.X, c.rotationX);
    EXPECT_FLOAT_EQ(car.rb.Quaternion.W, 1 - c.rotationX);
    EXPECT_EQ(car.input.Flags, ControllerInput::kJump | ControllerInput::kHandbrake |
                                   (c.boost ? ControllerInput::kBoost : 0));
    // Left out of the second key: the first key's values carry through.
    EXPECT_FLOAT_EQ(car.input.Steer, -1);
    EXPECT_FALSE(car.onGround);
    EXPECT_EQ(car.ownerName, "A");
    EXPECT_EQ(model.inReplay, c.inReplay);
    EXPECT_FALSE(model.gameStatePresent);
    EXPECT_EQ(model.carArray.slots.at(1) != nullptr, c.secondCar);
    EXPECT_EQ(model.cameraPresent, c.camera);
    EXPECT_EQ(model.camera.viewTarget, c.target);
  }
}

}  // namespace
