#include "sdk/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace devhost {

namespace {
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
}  // namespace

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
  char buffer[32];
  for (int precision = 1; precision <= 9; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, static_cast<double>(value));
    if (std::strtof(buffer, nullptr) == value) break;
  }
  return buffer;
}

}  // namespace devhost
