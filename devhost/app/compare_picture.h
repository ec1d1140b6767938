// The picture --compare --png writes of the first frame two builds draw differently: the first
// build's frame, the second's, and their difference (the first dimmed, every pixel that differs in
// red), side by side.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "core/scene.h"

namespace devhost {

// Plays the run again through each build up to the frame and draws that frame as --png would.
void WriteComparePicture(const std::string& path, const CommandLine& options, const Scene& scene,
                         const std::array<std::string, 2>& plugins, std::int64_t frame);

}  // namespace devhost
