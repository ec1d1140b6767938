#include "output/video_format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "system/host_errors.h"
#include "system/words.h"

namespace devhost {

namespace {

// RGB to Y'CbCr with the HD matrix, and the stream tagged so, as players assume for HD video.
constexpr char kBt709[] =
    " -vf scale=out_color_matrix=bt709:out_range=tv -colorspace bt709 -color_primaries bt709"
    " -color_trc bt709";

VideoFormat H264(const char* muxer, Vector2 size, const std::string& extension) {
  // 4:2:0 keeps one chroma sample for each 2x2 pixels, and x264 takes no half samples.
  if (size.X % 2 != 0 || size.Y % 2 != 0)
    throw UsageError("--video: H.264 in " + extension + " needs an even canvas width and height, " +
                     "got " + std::to_string(size.X) + "x" + std::to_string(size.Y));
  return {muxer, Words(std::string("-c:v libx264 -preset fast -crf 18 -pix_fmt yuv420p") + kBt709)};
}

}  // namespace

VideoFormat VideoFormatFor(const std::string& path, bool transparent, Vector2 size) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".mp4") {
    if (transparent)
      throw UsageError("--video: .mp4 cannot carry alpha; with --transparent use .webm or .mov");
    return H264("mp4", size, extension);
  }
  if (extension == ".webm")
    return {"webm", Words(std::string("-c:v libvpx-vp9 -crf 30 -b:v 0 -deadline good -cpu-used 4 "
                                      "-row-mt 1 -pix_fmt ") +
                          (transparent ? "yuva420p" : "yuv420p") + kBt709)};
  if (extension == ".mov") {
    if (!transparent) return H264("mov", size, extension);
    // A fixed quantiser: a fifth of the time of the encoder's own search, and as sharp on flat
    // graphics like these.
    return {"mov", Words(std::string("-c:v prores_ks -profile:v 4444 -qscale:v 4 "
                                     "-pix_fmt yuva444p10le") +
                         kBt709)};
  }
  throw UsageError("--video: expected a file ending in .mp4, .webm or .mov, got '" + path + "'");
}

}  // namespace devhost
