#include "app/option_combinations.h"

#include <string>

#include "output/video_format.h"

namespace devhost {

void CheckCombinations(const CommandLine& options) {
  const bool pictures =
      options.pngPath || options.pngDir || options.videoPath || options.explainPixel;
  if (options.transparent && !pictures)
    throw UsageError("--transparent: needs --png, --png-dir or --video");
  if (options.frames == 0 && (options.pngPath || options.videoPath || options.explainPixel))
    throw UsageError(std::string(options.pngPath     ? "--png"
                                 : options.videoPath ? "--video"
                                                     : "--explain") +
                     ": needs at least one frame, got --frames 0");
  if (const auto& p = options.explainPixel;
      p && (p->X >= options.canvasSize.X || p->Y >= options.canvasSize.Y))
    throw UsageError("--explain " + std::to_string(p->X) + "," + std::to_string(p->Y) +
                     ": the pixel lies off the " + std::to_string(options.canvasSize.X) + "x" +
                     std::to_string(options.canvasSize.Y) + " canvas");
  if (options.window && options.explainPixel)
    throw UsageError("--explain: cannot be combined with --window (its inspector is F2)");
  if (options.window && pictures)
    throw UsageError("--window: cannot be combined with --png, --png-dir or --video");
  if (options.scriptPath && !options.window) throw UsageError("--script: needs --window");
  if (options.sources && !options.tracePath) throw UsageError("--sources: needs --trace");
  if (options.comparePath) {
    const char* other = options.window         ? "--window"
                        : options.videoPath    ? "--video"
                        : options.tracePath    ? "--trace"
                        : options.pngDir       ? "--png-dir"
                        : options.explainPixel ? "--explain"
                        : options.settings     ? "--settings"
                                               : nullptr;
    if (other != nullptr)
      throw UsageError(std::string("--compare: cannot be combined with ") + other);
  }
  if (options.watch && !options.window) throw UsageError("--watch: needs --window");
  if (options.settings && !pictures && !options.window)
    throw UsageError("--settings: needs --png, --png-dir, --video or --window");
  if (options.videoPath)
    VideoFormatFor(*options.videoPath, options.transparent, options.canvasSize);
}

}  // namespace devhost
