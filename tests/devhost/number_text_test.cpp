// Text-to-number conversion of the store and the float text it writes.
#include "sdk/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

struct Conversion {
  const char* text;
  float asFloat;  // NaN means "is NaN"
  bool asBool;
};

class TextConversion : public testing::TestWithParam<Conversion> {};

TEST_P(TextConversion, ReadsAsDocumented) {
  const Conversion& c = GetParam();
  const float value = devhost::TextToFloat(c.text);
  if (std::isnan(c.asFloat)) {
    EXPECT_TRUE(std::isnan(value)) << c.text;
  } else {
    EXPECT_EQ(value, c.asFloat) << c.text;
  }
  EXPECT_EQ(devhost::TextToBool(c.text), c.asBool) << c.text;
}

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Store, TextConversion,
    testing::Values(Conversion{"abc", 0, false}, Conversion{"", 0, false},
                    Conversion{"nan", kNaN, false}, Conversion{"1e39", kInf, true},
                    Conversion{"-1e39", -kInf, true}, Conversion{" 2 ", 2, true},
                    Conversion{"0", 0, false}, Conversion{"1", 1, true},
                    Conversion{"1.5x", 0, false}, Conversion{"0.01", 0.01f, true},
                    Conversion{"\t-0.2\n", -0.2f, true}, Conversion{"1 2", 0, false}));

TEST(FloatText, IsShortestTextThatReadsBackTheSameFloat) {
  for (float value : {0.01f, 0.02f, 1.0f, 1.1f, -0.2f, 3.4028235e38f, 1e-45f, 0.1f + 0.2f,
                      16777217.0f, 123456.789f}) {
    const std::string text = devhost::FloatText(value);
    EXPECT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
    // One digit fewer would not read back.
    if (text.find('e') == std::string::npos && text.size() > 2) {
      const std::string shorter = text.substr(0, text.size() - 1);
      EXPECT_NE(std::strtof(shorter.c_str(), nullptr), value) << text;
    }
  }
  EXPECT_EQ(devhost::FloatText(1.0f), "1");
  EXPECT_EQ(devhost::FloatText(0.01f), "0.01");
  EXPECT_EQ(devhost::FloatText(kNaN), "nan");
  EXPECT_EQ(devhost::FloatText(kInf), "inf");
  EXPECT_EQ(devhost::FloatText(-kInf), "-inf");
}

}  // namespace
