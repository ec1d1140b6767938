// The JSON Lines form of trace records, byte for byte, with the shortest float text it shares with
// the store's setValue(float).
#include "core/trace_json.h"

#include <gtest/gtest.h>

#include <limits>

namespace devhost {
namespace {

std::string TraceLine(const TraceRecord& record) {
  std::string line;
  AppendTraceLine(line, record);
  return line;
}

TEST(TraceJson, WritesEachValueKindInItsForm) {
  const ControllerInput input{-0.25f, 1, 0, 0, 0, 0, 0, 5};
  std::vector<TraceValue> args = {std::int64_t{-7}, true, Vector2{3, -4}, Vector2F{0.5f, 2}};
  args.insert(args.end(), {LinearColor{255, 0, 0.25f, 128}, Callback{}, NullHandle{}});
  args.insert(args.end(), {ObjectId{"car:2"}, input, std::string("A \"b\"\\\n\r\t\x01")});
  EXPECT_EQ(TraceLine({Phase::Frame, 3, "CanvasWrapper::DrawString", "canvas", args,
                       RBState{{0, 0, 0.5f, 1}, {}, {}, {1.1f, 0, -3}}}),
            R"({"phase":"frame","frame":3,"op":"CanvasWrapper::DrawString","self":"canvas","args":)"
            R"([-7,true,[3,-4],[0.5,2],[255,0,0.25,128],"<function>",null,"car:2",)"
            R"({"throttle":-0.25,"steer":1,"flags":5},"A \"b\"\\\n\r\t\u0001"],"result":)"
            R"({"rotation":[0,0,0.5,1],"angularVelocity":[1.1,0,-3]}})"
            "\n");
}

// No frame, no handle and no result: the keys are left out or null.
TEST(TraceJson, WritesFloatsAsTheShortestTextThatReadsBack) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  TraceRecord record{Phase::Hook, {}, "CVarWrapper::setValue", {}, {}, {}};
  record.args = {1.0f, 0.01f, 16777217.0f, 10.0152025f, 3.4028235e38f, 1e-45f, kInf, -kInf};
  record.args.push_back(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(TraceLine(record),
            R"({"phase":"hook","op":"CVarWrapper::setValue","self":null,"args":[1,0.01,16777216,)"
            R"(10.0152025,3.4028235e+38,1e-45,"inf","-inf","nan"]})"
            "\n");
}

}  // namespace
}  // namespace devhost
