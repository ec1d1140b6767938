// pryndal-devhost: loads a plugin module, plays a scene into it frame by frame and writes what it
// asked of the host. Parses the command line and hands the run to the way of running it asks
// for; the host itself is devhost_core.
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/host_run.h"
#include "app/run_compare.h"
#include "app/run_settings_page.h"
#include "system/fault_guard.h"
#include "system/host_errors.h"
#include "system/standard_output.h"
#include "system/stop_request.h"
#ifdef VEYRANT_HAVE_RENDERER
#include "app/run_pictures.h"
#include "output/video_writer.h"
#include "window/display_window.h"
#include "window/window_command.h"
#include "window/window_keys.h"
#include "window/window_player.h"
#endif

namespace {

// The window's commands and keys, for help and the console, in a build that has the window.
std::vector<devhost::HelpSection> WindowHelp() {
#ifdef VEYRANT_HAVE_RENDERER
  return {devhost::WindowCommandHelp(), devhost::KeyHelp()};
#else
  return {};
#endif
}

// Refuses, before anything is loaded, what this build or this machine cannot do.
void CheckAvailable(const devhost::CommandLine& options) {
#ifndef VEYRANT_HAVE_RENDERER
  const char* option = options.pngPath        ? "--png"
                       : options.pngDir       ? "--png-dir"
                       : options.videoPath    ? "--video"
                       : options.explainPixel ? "--explain"
                       : options.window       ? "--window"
                                              : nullptr;
  if (option != nullptr)
    throw devhost::UsageError(std::string(option) +
                              ": not available in this build (it has no renderer)");
#else
  if (options.window) devhost::RequireDisplay();
  if (options.videoPath) devhost::RequireVideoPrograms();
#endif
}

// The settings page runs first, in a context of its own, where the pictures do not show it.
void RunChosenWay(devhost::Host& host, const devhost::CommandLine& options, bool settingsPage) {
#ifdef VEYRANT_HAVE_RENDERER
  if (options.pngPath || options.pngDir || options.videoPath || options.explainPixel)
    return devhost::RunPictures(host, options, settingsPage);
#endif
  if (settingsPage) devhost::RunSettingsPageAlone(host, options);
#ifdef VEYRANT_HAVE_RENDERER
  if (options.window)
    return devhost::PlayInWindow(host, options.canvasSize, options.scriptPath, options.settings,
                                 options.watch);
#endif
  host.RenderFrames(options.frames);
}

// The run's exit code, when it ends without a failure.
int Run(const devhost::CommandLine& options) {
  CheckAvailable(options);
  if (options.comparePath) return devhost::RunCompare(options);
  devhost::HostRun run(options, WindowHelp());
  const bool settingsPage = options.settingsFrames || !options.settingsActions.empty();
  try {
    RunChosenWay(run.Get(), options, settingsPage);
  } catch (const devhost::PluginFaulted&) {
    run.SaveAfterFailure(true);
    throw;
  } catch (...) {
    run.SaveAfterFailure(false);
    throw;
  }
  run.Finish(settingsPage);
  return devhost::exit_code::kDone;
}

// The run's end on a failure: what it printed before goes out, then the message.
int Failed(const std::exception& e, int code, bool print = true) {
  try {
    devhost::FlushOut();
  } catch (const std::exception&) {
    // A standard output that cannot be written is the failure being reported, or a lesser one.
  }
  // A run stopped by a signal ends with it, whatever failed on the way (ffmpeg got it too).
  if (const int signal = devhost::StopSignal(); signal != 0)
    return devhost::exit_code::kSignalBase + signal;
  if (print) std::cerr << "pryndal-devhost: " << e.what() << '\n';
  return code;
}

// A plugin that faulted may have left code of its own to run at exit (its static objects'
// destructors): the program ends without running any, once everything is written.
int End(int code) {
  if (!devhost::AnyFaultCaught()) return code;
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(code);
}

int Program(int argc, char** argv) {
#if defined(_WIN32)
  // The trace and the console replies end their lines with LF, as on Linux, not CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  devhost::CatchStopSignals();
  devhost::CommandLine options;
  try {
    options = devhost::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const devhost::UsageError& e) {
    std::cerr << "pryndal-devhost: " << e.what()
              << "\n(pryndal-devhost --help lists the options)\n";
    return devhost::exit_code::kWrongInput;
  }
  try {
    if (options.help || options.version) {
      devhost::PrintOut(options.help ? devhost::UsageText(WindowHelp()) : devhost::VersionText());
      devhost::FlushOut();
      return devhost::exit_code::kDone;
    }
    devhost::SetPluginCallLimit(options.pluginTimeout);
    const int code = Run(options);
    return devhost::StopSignal() != 0 ? devhost::exit_code::kSignalBase + devhost::StopSignal()
                                      : code;
  } catch (const devhost::PluginFaulted& e) {
    // The report went to standard error when the plugin faulted.
    return Failed(e, e.exitCode, false);
  } catch (const devhost::HostError& e) {
    return Failed(e, e.exitCode);
  } catch (const std::exception& e) {
    return Failed(e, devhost::exit_code::kFailed);
  }
}

}  // namespace

int main(int argc, char** argv) { return End(Program(argc, argv)); }
