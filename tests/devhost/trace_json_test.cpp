// The JSON Lines form of trace records.
#include "core/trace_json.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using devhost::TraceRecord;

TEST(TraceJson, WritesEachValueKindInItsForm) {
  TraceRecord record;
  record.phase = devhost::Phase::Frame;
  record.frame = 3;
  record.op = "CanvasWrapper::DrawString";
  record.self = "canvas";
  record.args = {std::string("A \"b\"\\\n"),
                 1.1f,
                 std::int64_t{-7},
                 true,
                 Vector2{3, -4},
                 Vector2F{0.5f, 2},
                 LinearColor{255, 0, 0.25f, 128},
                 devhost::Callback{},
                 devhost::NullHandle{},
                 devhost::ObjectId{"car:2"}};
  record.result =
      Vector2F{std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity()};
  EXPECT_EQ(devhost::TraceLine(record),
            "{\"phase\":\"frame\",\"frame\":3,\"op\":\"CanvasWrapper::DrawString\",\"self\":"
            "\"canvas\",\"args\":[\"A \\\"b\\\"\\\\\\n\",1.1,-7,true,[3,-4],[0.5,2],[255,0,0.25,"
            "128],\"<function>\",null,\"car:2\"],\"result\":[\"nan\",\"-inf\"]}\n");
}

TEST(TraceJson, LeavesOutFrameAndResultWhenAbsent) {
  TraceRecord record;
  record.phase = devhost::Phase::Load;
  record.op = "CVarManagerWrapper::log";
  record.args = {std::string("Veyrant loaded")};
  EXPECT_EQ(devhost::TraceLine(record),
            "{\"phase\":\"load\",\"op\":\"CVarManagerWrapper::log\",\"self\":null,\"args\":["
            "\"Veyrant loaded\"]}\n");
}

TEST(TraceJson, WritesStructResultsWithTheFieldsPluginsRead) {
  TraceRecord record;
  record.op = "CarWrapper::GetInput";
  ControllerInput input;
  input.Throttle = -0.25f;
  input.Steer = 1;
  input.Flags = ControllerInput::kBoost | ControllerInput::kHandbrake;
  record.result = input;
  EXPECT_NE(
      devhost::TraceLine(record).find("\"result\":{\"throttle\":-0.25,\"steer\":1,\"flags\":5}"),
      std::string::npos);
}

}  // namespace
