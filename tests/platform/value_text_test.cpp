// The bars' value text, which the C runtime's snprintf formats: it must read the same on Windows
// (mingw-w64's own printf family, not msvcrt's) as on Linux. msvcrt rounds halves away from zero
// and spells infinity "1.#INF"; these cases catch both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/loaded_plugin.h"

namespace {

struct ValueText {
  const char* throttle;  // as written in the scene
  std::string text;
};

class BarValueText : public testing::TestWithParam<ValueText> {};

TEST_P(BarValueText, ReadsAsOnLinux) {
  veyrant_test::LoadedPlugin plugin;
  plugin.Set("veyrant_values", "1");
  plugin.UseScene(std::string(R"({"cars": [{"name": "A", "keys": [{"t": 0, "throttle": )") +
                  GetParam().throttle + "}]}]}");
  plugin.ClearRecords();
  plugin.RunFrames();
  std::vector<std::string> texts;
  for (const auto& call : plugin.CanvasCalls())
    if (call.kind == devhost::CanvasCall::Kind::DrawString) texts.push_back(call.text);
  // Header, then each row's label and value: THR's value is the first text after "THR".
  std::size_t thr = 0;
  while (thr < texts.size() && texts[thr] != "THR") ++thr;
  ASSERT_LT(thr + 1, texts.size());
  EXPECT_EQ(texts[thr + 1], GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Runtime, BarValueText,
                         testing::Values(ValueText{"0.5", "50%"}, ValueText{"-1", "-100%"},
                                         ValueText{"0.999", "100%"}, ValueText{"-0.003", "-0%"},
                                         // Exact halves round to even.
                                         ValueText{"0.125", "12%"}, ValueText{"0.375", "38%"},
                                         ValueText{"0.005", "0%"}, ValueText{"-0.015", "-2%"},
                                         ValueText{"1e39", "inf%"}, ValueText{"-1e39", "-inf%"},
                                         // Cut at 15 characters by the 16-byte buffer.
                                         ValueText{"1e30", "100000003318135"}));

}  // namespace
