#include "app/host_run.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "app/run_start.h"
#include "core/trace_json.h"
#include "system/standard_output.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

// A file's worth of trace lines is written at a time, so memory holds no more than that.
constexpr std::size_t kTraceChunk = 1 << 16;

void PrintVariables(Host& host) {
  std::vector<const Cvar*> cvars;
  for (const auto& cvar : host.Store().All()) cvars.push_back(cvar.get());
  std::sort(cvars.begin(), cvars.end(), [](auto* a, auto* b) { return a->name < b->name; });
  for (const Cvar* cvar : cvars) PrintOut(cvar->name + ' ' + cvar->value + '\n');
}

}  // namespace

HostRun::HostRun(const CommandLine& options, const std::vector<HelpSection>& windowHelp)
    : options_(options),
      host_(options.canvasSize),
      traceToStdout_(options.tracePath && *options.tracePath == "-") {
  PrepareFiles(options);
  host_.Store().SetLogSink([](const std::string& text) { std::cerr << text << '\n'; });
  for (const HelpSection& section : windowHelp) host_.AddHelp(section);
  StartScene(host_, options);

  if (options.tracePath) {
    if (!traceToStdout_) traceFile_.emplace(*options.tracePath);
    traceListener_ = host_.Trace().Listen([this](const TraceRecord& record) {
      const bool placed = options_.sources && record.kind == RecordKind::PluginCall;
      AppendTraceLine(trace_, record,
                      placed ? std::string_view(host_.Door().Symbols().CallSite(record.calledFrom))
                             : std::string_view());
      // Standard output line by line, in order with what the console prints there.
      if (traceToStdout_ || trace_.size() >= kTraceChunk) WriteTrace();
    });
  }

  // The plugin's fault is told at once, before the run ends.
  host_.Door().SetFaultListener(
      [](const PluginFaultReport& report) { std::cerr << report.Message() << std::flush; });
  // From the load on, a failure or a stop keeps what the lines before it changed, and a fault
  // the trace up to it.
  try {
    // Watched, from a private copy: the build replaces the file while the plugin runs.
    StartPlugin(host_, options, PluginPath(options),
                options.watch ? LoadFrom::PrivateCopy : LoadFrom::File, true);
  } catch (const PluginFaulted&) {
    SaveAfterFailure(true);
    throw;
  } catch (...) {
    SaveAfterFailure(false);
    throw;
  }
}

void HostRun::StopTracing() {
  if (traceListener_) host_.Trace().StopListening(*traceListener_);
  traceListener_.reset();
}

void HostRun::WriteTrace() {
  try {
    if (traceFile_) {
      traceFile_->Write(trace_);
    } else {
      PrintOut(trace_);
    }
  } catch (const std::exception& e) {
    FailRun(e.what());
  }
  trace_.clear();
}

void HostRun::Finish(bool printVariables) {
  if (options_.configPath) host_.SaveConfig();
  host_.UnloadAll();
  StopTracing();
  if (options_.tracePath) WriteTrace();
  ThrowIfStopped();  // a trace line that could not be written
  if (printVariables) PrintVariables(host_);
  if (traceFile_) traceFile_->Commit();
  FlushOut();
}

void HostRun::SaveAfterFailure(bool pluginFaulted) {
  StopTracing();
  if (options_.configPath) {
    try {
      host_.SaveConfig();
    } catch (const std::exception& e) {
      std::cerr << "pryndal-devhost: " << e.what() << '\n';
    }
  }
  if (!pluginFaulted || !options_.tracePath) return;
  // The record a developer needs after a fault: up to it, and put in place.
  WriteTrace();
  try {
    if (traceFile_) traceFile_->Commit();
    FlushOut();
  } catch (const std::exception& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
  }
}

}  // namespace devhost
