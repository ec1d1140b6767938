// Scenes: the errors for bad files, and how keys become the game model over time.
#include "core/scene.h"

#include <gtest/gtest.h>

namespace {

struct BadScene {
  const char* json;
  const char* message;  // after "test: "
};

class SceneRefuses : public testing::TestWithParam<BadScene> {};

TEST_P(SceneRefuses, NamingTheField) {
  try {
    devhost::ParseScene(GetParam().json, "test");
    FAIL() << GetParam().json;
  } catch (const devhost::SceneError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("test: ") + GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SceneRefuses,
    testing::Values(BadScene{"[]", "expected a JSON object at the top"},
                    BadScene{R"({"fps": 0})", "fps: expected a number above 0"},
                    BadScene{R"({"fsp": 60})", "fsp: unknown key"},
                    BadScene{R"({"replay": "yes"})", "replay: expected true or false"},
                    BadScene{R"({"replay": [{"t": 0, "valu": true}]})",
                             "replay[0].valu: unknown key"},
                    BadScene{R"({"gameState": [{"value": true}]})", "gameState[0].t: missing"},
                    BadScene{R"({"cars": [{}, {"keys": [{"t": 0, "throttle": "full"}]}]})",
                             "cars[1].keys[0].throttle: expected a number"},
                    BadScene{R"({"cars": [{"keys": [{"t": 1}, {"t": 0.5}]}]})",
                             "cars[0].keys[1].t: keys must be in time order"},
                    BadScene{R"({"cars": [{"keys": [{"t": 0, "rotation": [0, 0, 1]}]}]})",
                             "cars[0].keys[0].rotation: expected an array of 4 numbers"},
                    BadScene{R"({"cars": [{"keys": [{"t": 0, "position": [0, "x", 1]}]}]})",
                             "cars[0].keys[0].position[1]: expected a number"},
                    BadScene{R"({"cars": [{"name": 3}]})", "cars[0].name: expected a string"},
                    BadScene{R"({"cars": [{"colour": "red"}]})", "cars[0].colour: unknown key"},
                    BadScene{R"({"cars": [{}], "camera": {"target": 1}})",
                             "camera.target: car index 1 out of range (1 cars)"},
                    BadScene{R"({"camera": [{"t": 0, "target": "ball"}]})",
                             "camera[0].target: expected a car index, null or \"other\""}));

TEST(Scene, NotJsonIsReportedWithTheSource) {
  EXPECT_THROW(devhost::ParseScene("{", "test"), devhost::SceneError);
  // Found by the scene fuzz target: an overflowing number escaped as the JSON library's own error.
  EXPECT_THROW(devhost::ParseScene(R"({"fps": 1e400})", "test"), devhost::SceneError);
  EXPECT_THROW(devhost::LoadSceneFile("/nonexistent/scene.json"), devhost::SceneError);
}

TEST(Scene, FloatsInterpolateBooleansHoldAndLeftOutFieldsCarry) {
  const devhost::Scene scene = devhost::ParseScene(R"({"cars": [{"keys": [
      {"t": 1, "throttle": 2, "steer": -1, "boost": true, "onGround": false,
       "angularVelocity": [4, 0, 0]},
      {"t": 3, "throttle": -2, "boost": false, "rotation": [1, 0, 0, 0]}]}]})",
                                                   "test");
  struct Expect {
    double t;
    float throttle, steer, rollRate, rotationX;
    bool boost, onGround;
  };
  for (const Expect& e :
       {Expect{0, 2, -1, 4, 0, true, false}, Expect{1, 2, -1, 4, 0, true, false},
        Expect{2, 0, -1, 4, 0.5f, true, false}, Expect{2.5, -1, -1, 4, 0.75f, true, false},
        Expect{3, -2, -1, 4, 1, false, false}, Expect{9, -2, -1, 4, 1, false, false}}) {
    const devhost::CarKey key = devhost::SampleCar(scene.cars[0], e.t);
    EXPECT_FLOAT_EQ(key.throttle, e.throttle) << e.t;
    EXPECT_FLOAT_EQ(key.steer, e.steer) << e.t;
    EXPECT_FLOAT_EQ(key.angularVelocity.X, e.rollRate) << e.t;
    EXPECT_FLOAT_EQ(key.rotation.X, e.rotationX) << e.t;
    EXPECT_FLOAT_EQ(key.rotation.W, 1 - e.rotationX) << e.t;
    EXPECT_EQ(key.boost, e.boost) << e.t;
    EXPECT_EQ(key.onGround, e.onGround) << e.t;
  }
}

TEST(Scene, TimelinesDriveTheModel) {
  const devhost::Scene scene = devhost::ParseScene(R"({
      "replay": [{"t": 0, "value": true}, {"t": 2, "value": false}],
      "gameState": true,
      "camera": [{"t": 0, "target": 1}, {"t": 1, "target": "other"}, {"t": 2, "present": false}],
      "cars": [{"name": "A", "keys": [{"t": 0, "jump": true, "handbrake": true}]},
               {"name": "", "present": [{"t": 0, "value": true}, {"t": 1.5, "value": false}]}]})",
                                                   "test");
  devhost::GameModel model;
  devhost::ApplyScene(scene, 0.5, model);
  EXPECT_TRUE(model.inReplay);
  ASSERT_EQ(model.carArray.slots.size(), 2u);
  EXPECT_EQ(model.camera.viewTarget, devhost::AddressOf(*model.carArray.slots[1]));
  EXPECT_EQ(model.carArray.slots[0]->input.Flags,
            ControllerInput::kJump | ControllerInput::kHandbrake);
  EXPECT_EQ(model.carArray.slots[0]->ownerName, "A");

  devhost::ApplyScene(scene, 1.5, model);
  EXPECT_EQ(model.carArray.slots[1], nullptr);
  EXPECT_EQ(model.camera.viewTarget, devhost::AddressOf(model.otherObject));
  EXPECT_TRUE(model.cameraPresent);

  devhost::ApplyScene(scene, 2, model);
  EXPECT_FALSE(model.inReplay);
  EXPECT_FALSE(model.cameraPresent);
}

TEST(Scene, TheDemoSceneParses) {
  const devhost::Scene demo = devhost::ParseScene(devhost::DemoSceneJson(), "demo");
  EXPECT_EQ(demo.cars.size(), 4u);
}

}  // namespace
