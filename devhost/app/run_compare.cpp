#include "app/run_compare.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#ifdef VEYRANT_HAVE_RENDERER
#include "app/compare_picture.h"
#endif
#include "app/record_diff.h"
#include "app/run_digest.h"
#include "app/run_settings_page.h"
#include "app/run_start.h"
#include "core/host.h"
#include "core/trace_json.h"
#include "system/host_errors.h"
#include "system/standard_output.h"

namespace devhost {

namespace {

using RecordTaker = std::function<void(const TraceRecord&, Symbolizer&)>;

// The run, through one build, each record handed to take. A build that faults is played up to
// its fault, whose record is compared as any other.
void Play(const CommandLine& options, const Scene& scene, const std::string& path, bool tell,
          const RecordTaker& take) {
  Host host(options.canvasSize);
  host.Door().SetFaultListener([tell](const PluginFaultReport& report) {
    if (tell) std::cerr << report.Message() << std::flush;
  });
  if (tell) host.Store().SetLogSink([](const std::string& text) { std::cerr << text << '\n'; });
  const auto listener = host.Trace().Listen(
      [&take, &host](const TraceRecord& record) { take(record, host.Door().Symbols()); });
  try {
    host.SetScene(scene);
    host.SetStartTime(options.time);
    StartPlugin(host, options, path, LoadFrom::PrivateCopy, tell);
    if (options.settingsFrames || !options.settingsActions.empty())
      RunSettingsPageAlone(host, options);
    host.RenderFrames(options.frames);
    host.UnloadAll();
  } catch (const PluginFaulted&) {
  }
  host.Trace().StopListening(listener);
}

RunDigest Digest(const CommandLine& options, const Scene& scene, const std::string& path,
                 bool tell) {
  RunDigest digest;
  Play(options, scene, path, tell,
       [&digest](const TraceRecord& record, Symbolizer&) { digest.Take(record); });
  return digest;
}

// One group's records as the trace writes them, each with the place that made it.
struct GroupLines {
  std::vector<std::string> lines, places;
};

GroupLines ReadGroup(const CommandLine& options, const Scene& scene, const std::string& path,
                     std::size_t group) {
  GroupLines read;
  RecordGroups grouping;
  Play(options, scene, path, false, [&](const TraceRecord& record, Symbolizer& symbols) {
    if (grouping.Take(record) != group) return;
    std::string line;
    AppendTraceLine(line, record);
    line.pop_back();
    read.lines.push_back(std::move(line));
    read.places.push_back(record.kind == RecordKind::PluginCall
                              ? symbols.CallSite(record.calledFrom)
                              : std::string());
  });
  return read;
}

std::string GroupName(const RunDigest::Group& group) {
  std::string name = PhaseName(group.phase);
  if (group.frame) name += " " + std::to_string(*group.frame);
  return name;
}

// 148462 -> "148,462".
std::string Thousands(std::size_t n) {
  const std::string digits = std::to_string(n);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

struct FrameCount {
  std::size_t differing = 0, all = 0;
  std::optional<std::int64_t> first;  // the first that differs
};

// The rendered frames whose records differ.
FrameCount DifferingFrames(const RunDigest& a, const RunDigest& b) {
  const auto framesA = a.Frames(), framesB = b.Frames();
  std::map<std::int64_t, bool> differ;
  for (const auto& [frame, hashes] : framesA) {
    const auto other = framesB.find(frame);
    differ[frame] = other == framesB.end() || other->second != hashes;
  }
  for (const auto& [frame, hashes] : framesB)
    if (!framesA.contains(frame)) differ[frame] = true;
  FrameCount count{0, differ.size(), std::nullopt};
  for (const auto& [frame, differs] : differ)
    if (differs && (++count.differing, !count.first)) count.first = frame;
  return count;
}

std::string Side(const GroupLines& group, std::size_t index, const char* name) {
  if (index >= group.lines.size()) return std::string("  ") + name + " (its run has ended)\n";
  std::string text = std::string("  ") + name + " " + group.lines[index] + "\n";
  if (!group.places[index].empty()) text += "    made at " + group.places[index] + "\n";
  return text;
}

std::string SequenceDiff(const GroupLines& a, const GroupLines& b, const std::string& name) {
  const auto diff = DiffLines(a.lines, b.lines);
  std::string text = "in " + name + ", record for record (- only --plugin, + only --compare):\n";
  if (!diff) return text + "  too different to list record for record\n";
  constexpr std::size_t kListed = 40;
  for (std::size_t n = 0; n < diff->size(); ++n) {
    if (n == kListed) return text + "  ... and " + std::to_string(diff->size() - n) + " more\n";
    const DiffLine& line = (*diff)[n];
    const GroupLines& side = line.first ? a : b;
    const std::string& place = side.places[line.index];
    text += std::string("  ") + (line.first ? "- " : "+ ") + std::to_string(line.index) + " " +
            side.lines[line.index] + (place.empty() ? "" : "  " + place) + "\n";
  }
  return text;
}

}  // namespace

int RunCompare(const CommandLine& options) {
  const std::string plugin = PluginPath(options), other = *options.comparePath;
  // Both files before any work: the second build is loaded only after the first has run.
  RequireModuleFile(plugin);
  RequireModuleFile(other);
  PrepareFiles(options);
  const Scene scene = options.scenePath ? LoadSceneFile(*options.scenePath)
                                        : ParseScene(DemoSceneJson(), "built-in demo scene");
  const RunDigest a = Digest(options, scene, plugin, true);
  const RunDigest b = Digest(options, scene, other, false);

  std::size_t first = 0;
  while (first < a.hashes.size() && first < b.hashes.size() && a.hashes[first] == b.hashes[first])
    ++first;
  const FrameCount frames = DifferingFrames(a, b);
  if (first == a.hashes.size() && first == b.hashes.size()) {
    PrintOut("the same: " + Thousands(frames.all) + " frames and " + Thousands(a.hashes.size()) +
             " records compared, from load to unload\n");
    FlushOut();
    return exit_code::kDone;
  }
  // The groups before it are the same in both: the group holding it is the same group of each.
  const RunDigest& longer = first < a.hashes.size() ? a : b;
  const RunDigest::Group& group = longer.GroupOf(first);
  const auto index = static_cast<std::size_t>(&group - longer.groups.data());
  const GroupLines linesA = ReadGroup(options, scene, plugin, index),
                   linesB = ReadGroup(options, scene, other, index);
  const std::size_t at = first - group.begin;
  std::string report = "different: the first difference is record " + std::to_string(at) + " of " +
                       GroupName(group) + "\n" + Side(linesA, at, "--plugin ") +
                       Side(linesB, at, "--compare");
  report += Thousands(frames.differing) + " of " + Thousands(frames.all) + " frames differ\n";
  report += SequenceDiff(linesA, linesB, GroupName(group));
#ifdef VEYRANT_HAVE_RENDERER
  if (options.pngPath && frames.first) {
    WriteComparePicture(*options.pngPath, options, scene, {plugin, other}, *frames.first);
    report += *options.pngPath + ": frame " + std::to_string(*frames.first) +
              " of --plugin, of --compare, and the pixels that differ, side by side\n";
  } else if (options.pngPath) {
    report += *options.pngPath + ": not written, as no rendered frame differs\n";
  }
#endif
  PrintOut(report);
  FlushOut();
  return exit_code::kFailed;
}

}  // namespace devhost
