// The trace as JSON Lines: one object per record, byte-stable so runs can be diffed.
#pragma once

#include <string>
#include <string_view>

#include "sdk/trace.h"

namespace devhost {

// Appends one record as one line, ending in '\n'; a plugin's call with the place it was made at,
// where one is given.
void AppendTraceLine(std::string& out, const TraceRecord& record, std::string_view at = {});
// A value, or a list of them, as the trace writes it: [60,210,80,255].
std::string TraceValueText(const TraceValue& value);
std::string TraceValuesText(const std::vector<TraceValue>& values);
// A JSON string literal, quotes included.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace devhost
