// Pictures to PNG files: written atomically, at a fast compression level so that a frame sequence
// is not dominated by compression.
#pragma once

#include <string>

#include "render/image.h"

namespace devhost {

std::string EncodePng(const Image& image);
// Throws std::runtime_error naming the file; the file is untouched on failure.
void WritePng(const std::string& path, const Image& image);

}  // namespace devhost
