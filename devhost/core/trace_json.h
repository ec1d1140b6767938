// The trace as JSON Lines: one object per record, byte-stable so runs can be diffed.
#pragma once

#include <string>

#include "sdk/trace.h"

namespace devhost {

// Appends one record as one line, ending in '\n'.
void AppendTraceLine(std::string& out, const TraceRecord& record);
// A JSON string literal, quotes included.
void AppendJsonString(std::string& out, const std::string& text);

}  // namespace devhost
