#include "symbols/symbolizer.h"

#include <cstdio>

namespace devhost {

std::string FileLineText(const SourcePlace& place) {
  if (place.line > 0 && !place.file.empty()) return place.file + ":" + std::to_string(place.line);
  char offset[24];
  std::snprintf(offset, sizeof offset, "+0x%llx", static_cast<unsigned long long>(place.offset));
  return place.module + offset;
}

std::string PlaceText(const SourcePlace& place) {
  if (place.function.empty()) return FileLineText(place);
  return place.function + " at " + FileLineText(place);
}

}  // namespace devhost
