// The store's one rule for turning variable text into numbers and floats back into text.
#pragma once

#include <string>
#include <string_view>

#include "sdk/sdk_export.h"

namespace devhost {

// Surrounding whitespace is ignored; the rest must be one whole number as strtof reads it
// ("nan", "inf" and overflow to +-inf included), anything else reads as 0.
DEVHOST_SDK_API float TextToFloat(std::string_view text);
// Nonzero and not NaN.
DEVHOST_SDK_API bool TextToBool(std::string_view text);
// The shortest of %.1g to %.9g that strtof reads back as the same float; "nan", "inf", "-inf".
DEVHOST_SDK_API std::string FloatText(float value);

}  // namespace devhost
