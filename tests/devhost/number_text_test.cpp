// The store's reading of text as a number, in the cases docs/devhost.md lists, where the host
// decides rather than strtof; and the text the host writes for a number.
#include "sdk/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
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
  EXPECT_EQ(DoubleText(60), "60");
  EXPECT_EQ(DoubleText(59.94), "59.94");
  EXPECT_EQ(DoubleText(1.0 / 3), "0.3333333333333333");
  EXPECT_EQ(DoubleText(1e-300), "1e-300");
}

// As people write them: no exponent unless it is shorter, and every text reads back as the very
// same float, sign of zero included.
TEST(NumberText, FloatsGetTheShortestTextThatReadsBackTheSame) {
  using Limits = std::numeric_limits<float>;
  const struct {
    float value;
    const char* text;
  } cases[] = {{80, "80"},
               {61, "61"},
               {210, "210"},
               {0.01f, "0.01"},
               {1.5f, "1.5"},
               {-0.25f, "-0.25"},
               {123456792, "123456792"},
               {1e10f, "1e+10"},
               {Limits::denorm_min(), "1e-45"},
               {Limits::max(), "3.4028235e+38"},
               {-0.0f, "-0"},
               {Limits::infinity(), "inf"},
               {-Limits::infinity(), "-inf"},
               {Limits::quiet_NaN(), "nan"},
               {-Limits::quiet_NaN(), "nan"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatText(c.value), c.text);
    const float back = TextToFloat(c.text);
    if (std::isnan(c.value)) {
      EXPECT_TRUE(std::isnan(back));
    } else {
      EXPECT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(c.value));
    }
  }
}

}  // namespace
}  // namespace devhost
