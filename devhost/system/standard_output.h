// Everything the program prints on standard output goes through one buffer, in order, and every
// write is checked: a run never reports success with its output cut short.
#pragma once

#include <string_view>

namespace devhost {

// Throws std::runtime_error "standard output: cannot write: ..." when a write fails; from then on
// nothing more is written.
void PrintOut(std::string_view text);
void FlushOut();

}  // namespace devhost
