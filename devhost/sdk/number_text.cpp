#include "sdk/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace devhost {

namespace {

// What strtof skips before a number: C's white space.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The shortest %g text, from 1 to maxDigits significant digits, that read gives back as value.
template <typename T, typename Read>
std::string ShortestText(T value, int maxDigits, Read read) {
  char buffer[32];
  for (int digits = 1; digits <= maxDigits; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (read(buffer) == value) break;
  }
  return buffer;
}

}  // namespace

std::optional<double> FiniteNumber(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value)) return {};
  return value;
}

float TextToFloat(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  if (text.empty()) return 0.0f;
  const std::string whole(text);
  char* end = nullptr;
  errno = 0;
  const float value = std::strtof(whole.c_str(), &end);
  if (end != whole.c_str() + whole.size()) return 0.0f;
  return value;  // ERANGE still gives +-inf or the nearest tiny value, which is what we want
}

bool TextToBool(std::string_view text) {
  const float value = TextToFloat(text);
  return !std::isnan(value) && value != 0.0f;
}

std::string FloatText(float value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return ShortestText(value, 9, [](const char* text) { return std::strtof(text, nullptr); });
}

std::string DoubleText(double value) {
  return ShortestText(value, 17, [](const char* text) { return std::strtod(text, nullptr); });
}

}  // namespace devhost
