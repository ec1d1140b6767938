// pryndal-devhost: loads a plugin module, plays a scene into it frame by frame and writes what it
// asked of the host. Parses the command line and hands the run to the way of running it asks
// for; the host itself is devhost_core.
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/host_session.h"
#include "app/run_trace_frames.h"
#include "ui/settings_driver.h"
#ifdef VEYRANT_HAVE_RENDERER
#include "app/run_pictures.h"
#include "app/run_window.h"
#include "output/video_writer.h"
#include "window/display_window.h"
#endif

namespace {

// Refuses, before anything is loaded, what this build or this machine cannot do.
void CheckAvailable(const devhost::CommandLine& options) {
#ifndef VEYRANT_HAVE_RENDERER
  const char* option = options.pngPath     ? "--png"
                       : options.pngDir    ? "--png-dir"
                       : options.videoPath ? "--video"
                       : options.window    ? "--window"
                                           : nullptr;
  if (option != nullptr)
    throw devhost::UsageError(std::string(option) +
                              ": not available in this build (it has no renderer)");
#else
  if (options.window) devhost::RequireDisplay();
  if (options.videoPath) devhost::CheckVideoOutput(*options.videoPath);
#endif
}

void RunChosenWay(devhost::Host& host, const devhost::CommandLine& options, bool settingsPage) {
#ifdef VEYRANT_HAVE_RENDERER
  if (options.pngPath || options.pngDir || options.videoPath)
    return devhost::RunPictures(host, options, settingsPage);
  if (options.window) return devhost::RunWindow(host, options, settingsPage);
#endif
  devhost::RunTraceFrames(host, options, settingsPage);
}

int Run(const devhost::CommandLine& options) {
  CheckAvailable(options);
  devhost::HostSession session(options);
  const bool settingsPage = options.settingsFrames || !options.settingsActions.empty();
  RunChosenWay(session.Get(), options, settingsPage);
  session.Finish(settingsPage);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // The trace and the console replies end their lines with LF, as on Linux, not CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  devhost::CommandLine options;
  try {
    options = devhost::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const devhost::UsageError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << "\n" << devhost::UsageText();
    return 2;
  }
  if (options.help) {
    std::cout << devhost::UsageText();
    return 0;
  }
  try {
    return Run(options);
  } catch (const devhost::UsageError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const devhost::DriverError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const devhost::ConsoleError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 1;
  }
}
