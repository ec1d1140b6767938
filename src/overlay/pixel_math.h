// Whole-pixel arithmetic that is defined for every float the console can hold.
//
// A float becomes a pixel by truncation toward zero, saturating at the 32-bit range, with NaN
// giving 0; sums, differences and products of pixels are formed in 64 bits and clamped. For every
// value that fits, the results are exactly those of a plain truncation and plain int arithmetic.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace pixel {

inline constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();

inline int Clamp(std::int64_t v) {
  return static_cast<int>(v < kMin ? kMin : (v > kMax ? kMax : v));
}

// trunc(v) of a single-precision value.
inline int Trunc(float v) {
  if (std::isnan(v)) return 0;
  // 2^31 is the first float above the range; -2^31 itself converts exactly.
  if (v >= 2147483648.0f) return static_cast<int>(kMax);
  if (v < -2147483648.0f) return static_cast<int>(kMin);
  return static_cast<int>(v);
}

inline int Add(int a, int b) { return Clamp(std::int64_t{a} + b); }
inline int Sub(int a, int b) { return Clamp(std::int64_t{a} - b); }
inline int Mul(int a, int b) { return Clamp(std::int64_t{a} * b); }
// Integer division truncating toward zero; the one overflowing case, min / -1, saturates.
inline int Div(int a, int b) { return Clamp(std::int64_t{a} / b); }

}  // namespace pixel
