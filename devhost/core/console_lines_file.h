// A file of console lines, an exec file or a window's script: read whole, 16 MiB at most, and
// split into its lines.
#pragma once

#include <string>
#include <vector>

namespace devhost {

// what names the file in a refusal ("script"); a refusal is a ConsoleError "caller: FILE: why".
std::vector<std::string> ReadConsoleLines(const std::string& path, const char* what,
                                          const std::string& caller);

}  // namespace devhost
