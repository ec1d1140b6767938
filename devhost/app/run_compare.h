// --compare OTHER: the same run (scene, canvas, times, --set, --exec, the configuration read but
// written by neither, the settings page's actions) played through --plugin and through OTHER, each
// from a private copy, every record of each from load to unload kept and the two compared, as cmp
// and diff do: the same, or where they first part, how many frames differ and, for the first
// differing frame, the records one side has that the other lacks.
#pragma once

#include "app/command_line.h"

namespace devhost {

// Prints the report on standard output; 0 when the two are the same, 1 when they differ. With
// --png, a picture of the first differing frame: --plugin's, OTHER's and their difference.
int RunCompare(const CommandLine& options);

}  // namespace devhost
