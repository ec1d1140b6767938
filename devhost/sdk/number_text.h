// The host's rules for text and numbers: which texts are numbers, and the shortest text of a
// number. The store turns variable text into numbers and floats back into text
// with them; the command line, the console and the trace use them too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sdk/sdk_export.h"

namespace devhost {

// The whole of text as a finite number, as strtod reads it; nothing for anything else.
DEVHOST_SDK_API std::optional<double> FiniteNumber(const std::string& text);
// Surrounding whitespace is ignored; the rest must be one whole number as strtof reads it
// ("nan", "inf" and overflow to +-inf included), anything else reads as 0.
DEVHOST_SDK_API float TextToFloat(std::string_view text);
// Nonzero and not NaN.
DEVHOST_SDK_API bool TextToBool(std::string_view text);
// The shortest text that strtof reads back as the same float, as std::to_chars writes it ("80",
// "0.01", "1e-45"); "nan", "inf", "-inf".
DEVHOST_SDK_API std::string FloatText(float value);
// The shortest text that strtod reads back as the same finite double.
DEVHOST_SDK_API std::string DoubleText(double value);

}  // namespace devhost
