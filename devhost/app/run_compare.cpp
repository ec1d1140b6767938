#include "app/run_compare.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#ifdef VEYRANT_HAVE_RENDERER
#include "app/compare_picture.h"
#endif
#include "app/record_diff.h"
#include "app/run_settings_page.h"
#include "app/run_start.h"
#include "core/host.h"
#include "core/trace_json.h"
#include "system/standard_output.h"

namespace devhost {

namespace {

// What the trace writes of a record is the same: the place it was made at aside.
bool SameRecord(const TraceRecord& a, const TraceRecord& b) {
  return a.kind == b.kind && a.phase == b.phase && a.frame == b.frame && a.op == b.op &&
         a.self == b.self && a.args == b.args && a.result == b.result;
}

// One build's run as its trace would have it, each record with the place that made it.
struct RecordedRun {
  struct Group {  // records of one phase and frame, one after the other: [begin, end)
    Phase phase;
    std::optional<std::int64_t> frame;
    std::size_t begin, end;
  };
  std::vector<TraceRecord> records;
  std::unordered_map<std::uintptr_t, std::string> placeAt;  // read while its module was loaded
  std::vector<Group> groups;

  std::size_t Size() const { return records.size(); }
  // As the trace writes it, without its place.
  std::string Line(std::size_t index) const {
    std::string line;
    AppendTraceLine(line, records[index]);
    line.pop_back();
    return line;
  }
  const std::string& Place(std::size_t index) const {
    static const std::string none;
    const TraceRecord& record = records[index];
    return record.kind == RecordKind::PluginCall ? placeAt.at(record.calledFrom) : none;
  }

  void Take(const TraceRecord& record, Symbolizer& symbols) {
    records.push_back(record);
    if (record.kind == RecordKind::PluginCall && !placeAt.contains(record.calledFrom))
      placeAt.emplace(record.calledFrom, symbols.CallSite(record.calledFrom));
    // A fault ends the call it happened in: its record belongs with that call's.
    const bool joins = record.phase == Phase::Fault && !groups.empty();
    if (!joins && (groups.empty() || groups.back().phase != record.phase ||
                   groups.back().frame != record.frame))
      groups.push_back({record.phase, record.frame, Size() - 1, Size() - 1});
    groups.back().end = Size();
  }
  const Group& GroupOf(std::size_t index) const {
    return *std::prev(
        std::upper_bound(groups.begin(), groups.end(), index,
                         [](std::size_t i, const Group& group) { return i < group.begin; }));
  }
  std::vector<std::string> LinesOf(const Group& group) const {
    std::vector<std::string> lines;
    for (std::size_t i = group.begin; i < group.end; ++i) lines.push_back(Line(i));
    return lines;
  }
  // The records of each rendered frame.
  std::map<std::int64_t, std::vector<const TraceRecord*>> Frames() const {
    std::map<std::int64_t, std::vector<const TraceRecord*>> frames;
    for (const Group& group : groups)
      if (group.phase == Phase::Frame && group.frame)
        for (std::size_t i = group.begin; i < group.end; ++i)
          frames[*group.frame].push_back(&records[i]);
    return frames;
  }
};

RecordedRun Record(const CommandLine& options, const Scene& scene, const std::string& path,
                   bool tell) {
  Host host(options.canvasSize);
  host.Door().SetFaultListener(
      [](const PluginFaultReport& report) { std::cerr << report.Message() << std::flush; });
  if (tell) host.Store().SetLogSink([](const std::string& text) { std::cerr << text << '\n'; });
  RecordedRun run;
  const auto listener = host.Trace().Listen(
      [&run, &host](const TraceRecord& record) { run.Take(record, host.Door().Symbols()); });
  try {
    host.SetScene(scene);
    host.SetStartTime(options.time);
    StartPlugin(host, options, path, LoadFrom::PrivateCopy, tell);
    if (options.settingsFrames || !options.settingsActions.empty())
      RunSettingsPageAlone(host, options);
    host.RenderFrames(options.frames);
    host.UnloadAll();
  } catch (const PluginFaulted&) {
    // The fault's record ends this build's run; it is compared as any other.
  }
  host.Trace().StopListening(listener);
  return run;
}

std::string GroupName(const RecordedRun::Group& group) {
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
FrameCount DifferingFrames(const RecordedRun& a, const RecordedRun& b) {
  const auto framesA = a.Frames(), framesB = b.Frames();
  std::map<std::int64_t, bool> differ;
  for (const auto& [frame, lines] : framesA) {
    const auto other = framesB.find(frame);
    differ[frame] =
        other == framesB.end() ||
        !std::equal(lines.begin(), lines.end(), other->second.begin(), other->second.end(),
                    [](const auto* x, const auto* y) { return SameRecord(*x, *y); });
  }
  for (const auto& [frame, lines] : framesB)
    if (!framesA.contains(frame)) differ[frame] = true;
  FrameCount count{0, differ.size(), std::nullopt};
  for (const auto& [frame, differs] : differ)
    if (differs && (++count.differing, !count.first)) count.first = frame;
  return count;
}

std::string Side(const RecordedRun& run, std::size_t index, const char* name) {
  if (index >= run.Size()) return std::string("  ") + name + " (its run has ended)\n";
  std::string text = std::string("  ") + name + " " + run.Line(index) + "\n";
  if (!run.Place(index).empty()) text += "    made at " + run.Place(index) + "\n";
  return text;
}

std::string SequenceDiff(const RecordedRun& a, const RecordedRun& b, std::size_t index) {
  const RecordedRun::Group& groupA = a.GroupOf(std::min(index, a.Size() - 1));
  const RecordedRun::Group& groupB = b.GroupOf(std::min(index, b.Size() - 1));
  const auto diff = DiffLines(a.LinesOf(groupA), b.LinesOf(groupB));
  std::string text =
      "in " + GroupName(groupA) + ", record for record (- only --plugin, + only --compare):\n";
  if (!diff) return text + "  too different to list record for record\n";
  constexpr std::size_t kListed = 40;
  for (std::size_t n = 0; n < diff->size(); ++n) {
    if (n == kListed) return text + "  ... and " + std::to_string(diff->size() - n) + " more\n";
    const DiffLine& line = (*diff)[n];
    const RecordedRun& run = line.first ? a : b;
    const std::size_t at = (line.first ? groupA : groupB).begin + line.index;
    text += std::string("  ") + (line.first ? "- " : "+ ") + std::to_string(line.index) + " " +
            run.Line(at) + (run.Place(at).empty() ? "" : "  " + run.Place(at)) + "\n";
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
  const RecordedRun a = Record(options, scene, plugin, true);
  const RecordedRun b = Record(options, scene, other, false);

  std::size_t first = 0;
  while (first < a.Size() && first < b.Size() && SameRecord(a.records[first], b.records[first]))
    ++first;
  const FrameCount frames = DifferingFrames(a, b);
  if (first == a.Size() && first == b.Size()) {
    PrintOut("the same: " + Thousands(frames.all) + " frames and " + Thousands(a.Size()) +
             " records compared, from load to unload\n");
    FlushOut();
    return 0;
  }
  const RecordedRun& longer = first < a.Size() ? a : b;
  const RecordedRun::Group& group = longer.GroupOf(first);
  std::string report = "different: the first difference is record " +
                       std::to_string(first - group.begin) + " of " + GroupName(group) + "\n" +
                       Side(a, first, "--plugin ") + Side(b, first, "--compare");
  report += Thousands(frames.differing) + " of " + Thousands(frames.all) + " frames differ\n";
  report += SequenceDiff(a, b, first);
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
  return 1;
}

}  // namespace devhost
