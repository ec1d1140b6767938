// The store's reading of text as a number, in the cases docs/devhost.md lists, where the host
// decides rather than strtof.
#include "sdk/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace devhost {
namespace {

TEST(NumberText, ReadsTextAsDocumented) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* text;
    float asFloat;  // NaN means "is NaN"
    bool asBool;
  } cases[] = {{"abc", 0, false},    {"", 0, false},      {" 2 ", 2, true},     {"1 2", 0, false},
               {"nan", kNaN, false}, {"inf", kInf, true}, {"1e39", kInf, true}, {"1e-50", 0, false},
               {"0", 0, false},      {"1", 1, true},      {"-1", -1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const float value = TextToFloat(c.text);
    EXPECT_TRUE(std::isnan(c.asFloat) ? std::isnan(value) : value == c.asFloat) << value;
    EXPECT_EQ(TextToBool(c.text), c.asBool);
  }
}

TEST(NumberText, FiniteNumbersAreWholeTextsAndDoublesGetTheirShortestText) {
  const struct {
    const char* text;
    std::optional<double> number;
  } numbers[] = {{"2.5", 2.5}, {"-1e3", -1000}, {"", {}},    {" 1", 1},     {"1 ", {}},
                 {"1s", {}},   {"inf", {}},     {"nan", {}}, {"1e400", {}}, {"0x10", 16}};
  for (const auto& c : numbers) EXPECT_EQ(FiniteNumber(c.text), c.number) << c.text;
  EXPECT_EQ(DoubleText(60), "6e+01");  // as the trace writes floats
  EXPECT_EQ(DoubleText(59.94), "59.94");
  EXPECT_EQ(DoubleText(1.0 / 3), "0.3333333333333333");
  EXPECT_EQ(DoubleText(1e-300), "1e-300");
}

}  // namespace
}  // namespace devhost
