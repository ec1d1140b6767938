#include "symbols/symbolizer.h"

#include <algorithm>
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

const std::string& Symbolizer::CallSite(std::uintptr_t returnAddress) {
  const auto known = callSites_.find(returnAddress);
  if (known != callSites_.end()) return known->second;
  // The call's own line is enough unless it lies in a system header, inlined into the plugin's
  // code: then the functions around it are read for the innermost place of the plugin's own.
  if (const auto line = LineAt(returnAddress - 1); line && line->ownSource)
    return callSites_[returnAddress] = FileLineText(*line);
  const auto& places = PlacesOf(returnAddress - 1);
  const auto own = std::find_if(places.begin(), places.end(),
                                [](const SourcePlace& place) { return place.ownSource; });
  std::string text = own != places.end() ? FileLineText(*own)
                     : places.empty()    ? "unknown"
                                         : FileLineText(places.front());
  return callSites_[returnAddress] = std::move(text);
}

}  // namespace devhost
