// Text split into its words at white space: ffmpeg's options written as one line, a console
// line's usage.
#pragma once

#include <string>
#include <vector>

namespace devhost {

std::vector<std::string> Words(const std::string& text);

}  // namespace devhost
