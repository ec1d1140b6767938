// The frame as the drawable sees it: whether anything is drawn, which cars get a panel, where the
// panels go, the roll value, and settings far outside their useful range.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/canvas_listing.h"
#include "support/loaded_plugin.h"

namespace {

using veyrant_test::DrawLines;

// The panels of the frame: "NAME@X,Y WxH" from each background fill and header text.
std::vector<std::string> Panels(const std::vector<devhost::CanvasCall>& calls) {
  std::vector<std::string> panels;
  std::string box;
  for (const auto& call : calls) {
    if (call.kind == devhost::CanvasCall::Kind::FillBox && call.colour.R == 12 &&
        call.colour.A == 220)
      box = "@" + std::to_string(call.position.X) + "," + std::to_string(call.position.Y) + " " +
            std::to_string(call.size.X) + "x" + std::to_string(call.size.Y);
    if (call.kind == devhost::CanvasCall::Kind::DrawString && call.colour.R == 150)
      panels.push_back(call.text + box);
  }
  return panels;
}

const char* kFourCars = R"("cars": [{"name": "A"}, {"name": "B"}, {"name": "C"}, {"name": "D"}])";

struct Target {
  const char* name;
  std::string scene;  // the JSON after the cars
  std::vector<std::string> panels;
};

class Followed : public testing::TestWithParam<Target> {};

TEST_P(Followed, CarsShown) {
  veyrant_test::LoadedPlugin plugin;
  plugin.UseScene("{" + std::string(kFourCars) + GetParam().scene + "}");
  plugin.ClearRecords();
  plugin.RunFrames(1);
  EXPECT_EQ(Panels(plugin.CanvasCalls()), GetParam().panels);
}

const std::vector<std::string> kAllFour{"A@19,21 240x115", "B@19,128 240x115", "C@19,235 240x115",
                                        "D@19,342 240x115"};

INSTANTIATE_TEST_SUITE_P(
    Cameras, Followed,
    testing::Values(Target{"NoCamera", R"(, "camera": {"present": false})", kAllFour},
                    Target{"ViewTargetZero", R"(, "camera": {"target": null})", kAllFour},
                    Target{"ThirdCar", R"(, "camera": {"target": 2})", {"C@19,21 240x115"}},
                    Target{"NoCar", R"(, "camera": {"target": "other"})", kAllFour}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Followed, NullCarsAreSkippedAndTheFallbackShowsTheRest) {
  for (const auto& [cars, panels] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {R"([{"name": "A"}, {"name": "B", "present": false}, {"name": "C"}])",
            {"A@19,21 240x115", "C@19,128 240x115"}},
           {R"([{"name": "A", "present": false}, {"name": "B", "present": false}])", {}}}) {
    veyrant_test::LoadedPlugin plugin;
    plugin.UseScene(R"({"camera": {"target": 1}, "cars": )" + cars + "}");
    plugin.ClearRecords();
    plugin.RunFrames(1);
    EXPECT_EQ(Panels(plugin.CanvasCalls()), panels) << cars;
  }
}

struct Quiet {
  const char* name;
  std::string scene;
  const char* setting;  // set to 0 first, if any
  std::vector<std::string> ops;
};

class NothingDrawn : public testing::TestWithParam<Quiet> {};

TEST_P(NothingDrawn, AndTheHostIsAskedOnlyThisMuch) {
  veyrant_test::LoadedPlugin plugin;
  plugin.UseScene(GetParam().scene);
  if (GetParam().setting != nullptr) plugin.Set(GetParam().setting, "0");
  plugin.ClearRecords();
  plugin.RunFrames(1);
  EXPECT_TRUE(plugin.CanvasCalls().empty());
  EXPECT_EQ(plugin.Ops(), GetParam().ops);
}

INSTANTIATE_TEST_SUITE_P(
    Situations, NothingDrawn,
    testing::Values(Quiet{"Disabled", R"({"cars": [{}]})", "veyrant_enabled", {}},
                    Quiet{"LivePlay",
                          R"({"replay": false, "cars": [{}]})",
                          nullptr,
                          {"GameWrapper::IsInReplay"}},
                    Quiet{"NoGameState",
                          R"({"gameState": false, "cars": [{}]})",
                          nullptr,
                          {"GameWrapper::IsInReplay", "GameWrapper::GetCurrentGameState",
                           "ActorWrapper::IsNull"}},
                    Quiet{"NoCars",
                          R"({"cars": []})",
                          nullptr,
                          {"GameWrapper::IsInReplay", "GameWrapper::GetCurrentGameState",
                           "ActorWrapper::IsNull", "GameEventWrapper::GetCars",
                           "ArrayWrapper<CarWrapper>::Count"}}),
    [](const auto& param) { return std::string(param.param.name); });

struct Placement {
  int canvasWidth, canvasHeight;
  const char* scale;
  std::vector<std::string> panels;  // two cars, no followed car
};

class PanelsPlaced : public testing::TestWithParam<Placement> {};

TEST_P(PanelsPlaced, FromTheCanvasSizePositionAndScale) {
  veyrant_test::LoadedPlugin plugin(VEYRANT_MODULE_PATH,
                                    {GetParam().canvasWidth, GetParam().canvasHeight});
  plugin.UseScene(R"({"cars": [{"name": "A"}, {"name": "B"}]})");
  plugin.Set("veyrant_scale", GetParam().scale);
  plugin.ClearRecords();
  plugin.RunFrames(1);
  EXPECT_EQ(Panels(plugin.CanvasCalls()), GetParam().panels);
}

INSTANTIATE_TEST_SUITE_P(
    Canvases, PanelsPlaced,
    testing::Values(Placement{1920, 1080, "1", {"A@19,21 240x115", "B@19,128 240x115"}},
                    Placement{2560, 1440, "1", {"A@25,28 240x115", "B@25,135 240x115"}},
                    Placement{1920, 1080, "1.5", {"A@19,21 360x171", "B@19,181 360x171"}},
                    Placement{1920, 1080, "0.75", {"A@19,21 180x82", "B@19,101 180x82"}},
                    // 108 + 8, not trunc(1.1 x 107) = 117
                    Placement{1920, 1080, "1.1", {"A@19,21 264x122", "B@19,137 264x122"}}));

struct Roll {
  std::string key;
  std::string fill;  // the ROLL row's fill; empty for none
};

class RollBar : public testing::TestWithParam<Roll> {};

TEST_P(RollBar, IsTheRateAboutTheCarsForwardAxis) {
  veyrant_test::LoadedPlugin plugin;
  plugin.UseScene(R"({"cars": [{"keys": [{"t": 0, )" + GetParam().key + "}]}]}");
  plugin.ClearRecords();
  plugin.RunFrames(1);
  std::vector<std::string> rollFills;
  for (const auto& line : DrawLines(plugin.CanvasCalls(), "fill"))
    if (line.find(",85 ") != std::string::npos) rollFills.push_back(line);
  ASSERT_GE(rollFills.size(), 2u);
  EXPECT_EQ(rollFills.size() > 2 ? rollFills[2] : "", GetParam().fill);
  bool askedForRigidBody = false;
  for (const auto& op : plugin.Ops()) askedForRigidBody |= op == "RBActorWrapper::GetRBState";
  EXPECT_EQ(askedForRigidBody, GetParam().key.find("\"onGround\": false") != std::string::npos);
}

const char* kUpright = R"("onGround": false, "rotation": [0, 0, 0, 1], )";
INSTANTIATE_TEST_SUITE_P(
    Rates, RollBar,
    testing::Values(
        Roll{std::string(kUpright) + R"("angularVelocity": [5.5, 0, 0])",
             "fill 157,85 94x10 255,100,200,255"},
        Roll{std::string(kUpright) + R"("angularVelocity": [11, 0, 0])",
             "fill 157,85 94x10 255,100,200,255"},
        Roll{std::string(kUpright) + R"("angularVelocity": [-2.75, 0, 0])",
             "fill 110,85 47x10 200,100,255,255"},
        Roll{std::string(kUpright) + R"("angularVelocity": [0, 3, 0])", ""},
        Roll{R"("onGround": false, "rotation": [0, 0, 1, 0], "angularVelocity": [5.5, 0, 0])",
             "fill 63,85 94x10 200,100,255,255"},
        Roll{
            R"("onGround": true, "rotation": [0.3, 0.1, 0.2, 0.9], "angularVelocity": [5.5, 2, 1])",
            ""}));

struct Extreme {
  const char* variable;
  const char* value;
  std::vector<std::string> panels;  // two cars
};

class ExtremeSetting : public testing::TestWithParam<Extreme> {};

// Every float the console can hold gives defined pixels: truncation saturates to the 32-bit range,
// NaN gives 0, and sums of pixels saturate instead of overflowing. The sanitizer build checks that
// nothing undefined happens on the way.
TEST_P(ExtremeSetting, GivesSaturatedPixels) {
  veyrant_test::LoadedPlugin plugin;
  plugin.UseScene(R"({"cars": [{"name": "A", "keys": [{"t": 0, "throttle": -1e30, "steer": 1e30,
                      "onGround": false, "angularVelocity": [1e30, 0, 0]}]}, {"name": "B"}]})");
  plugin.Set("veyrant_values", "1");
  plugin.Set(GetParam().variable, GetParam().value);
  plugin.ClearRecords();
  plugin.RunFrames(1);
  EXPECT_EQ(Panels(plugin.CanvasCalls()), GetParam().panels);
}

constexpr const char* kMax = "2147483647";
constexpr const char* kMin = "-2147483648";
std::string Panel(const char* name, std::string x, std::string y, std::string w, std::string h) {
  return std::string(name) + "@" + x + "," + y + " " + w + "x" + h;
}

INSTANTIATE_TEST_SUITE_P(
    Console, ExtremeSetting,
    testing::Values(
        Extreme{"veyrant_scale",
                "1e30",
                {Panel("A", "19", "21", kMax, kMax), Panel("B", "19", kMax, kMax, kMax)}},
        Extreme{"veyrant_scale",
                "inf",
                {Panel("A", "19", "21", kMax, kMax), Panel("B", "19", kMax, kMax, kMax)}},
        Extreme{"veyrant_scale",
                "nan",
                {Panel("A", "19", "21", "0", "0"), Panel("B", "19", "21", "0", "0")}},
        Extreme{"veyrant_scale",
                "-1e38",
                {Panel("A", "19", "21", kMin, kMin), Panel("B", "19", "-2147483627", kMin, kMin)}},
        Extreme{"veyrant_x",
                "inf",
                {Panel("A", kMax, "21", "240", "115"), Panel("B", kMax, "128", "240", "115")}},
        Extreme{"veyrant_x",
                "nan",
                {Panel("A", "0", "21", "240", "115"), Panel("B", "0", "128", "240", "115")}},
        Extreme{
            "veyrant_y",
            "-1e38",
            {Panel("A", "19", kMin, "240", "115"), Panel("B", "19", "-2147483541", "240", "115")}},
        Extreme{"veyrant_y",
                "1e39",
                {Panel("A", "19", kMax, "240", "115"), Panel("B", "19", kMax, "240", "115")}}));

}  // namespace
