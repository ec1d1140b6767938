// The options that need or exclude each other, checked once the command line is read.
#pragma once

#include "app/command_line.h"

namespace devhost {

// Throws UsageError naming the option and what it needs or cannot be combined with.
void CheckCombinations(const CommandLine& options);

}  // namespace devhost
