// The containers --video writes, told apart by the file's extension, and how ffmpeg encodes the
// frames for each.
#pragma once

#include <string>
#include <vector>

#include "host/value_types.h"

namespace devhost {

struct VideoFormat {
  std::string muxer;                        // ffmpeg's -f
  std::vector<std::string> encoderOptions;  // ffmpeg's output options: codec, pixel format
};

// .mp4: H.264 in 4:2:0 (plays everywhere); .webm: VP9, with alpha when transparent; .mov: ProRes
// 4444 with alpha when transparent, else H.264. Throws UsageError for another extension, for
// transparent .mp4 and for H.264 at an odd size.
VideoFormat VideoFormatFor(const std::string& path, bool transparent, Vector2 size);

}  // namespace devhost
