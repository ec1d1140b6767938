#include "sdk/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace devhost {

namespace {

// What strtof skips before a number: C's white space.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The shortest text that reads back as value, plain or with an exponent, whichever is shorter.
template <typename T>
std::string ShortestText(T value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return {buffer, end};
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
  const float value = std::strtof(whole.c_str(), &end);
  if (end != whole.c_str() + whole.size()) return 0.0f;
  return value;  // out of range: +-inf or the nearest tiny value, which is what we want
}

bool TextToBool(std::string_view text) {
  const float value = TextToFloat(text);
  return !std::isnan(value) && value != 0.0f;
}

// Every NaN is "nan": its sign and payload say nothing to a person.
std::string FloatText(float value) { return std::isnan(value) ? "nan" : ShortestText(value); }

std::string DoubleText(double value) { return ShortestText(value); }

}  // namespace devhost
