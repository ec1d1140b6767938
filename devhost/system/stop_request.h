// A run ended by SIGINT, SIGTERM or SIGHUP ends as `quit` does: the signal only asks, and the run
// stops at its next frame or interrupted wait, unwinding so that every output's temporary file,
// ffmpeg and the private module copies go, and the configuration is still saved. An output that
// fails where it cannot throw (inside a call of the plugin's) stops the run the same way.
#pragma once

#include <stdexcept>
#include <string>

namespace devhost {

// Thrown where a run notices the request; the program exits with 128 plus the signal.
struct Stopped : std::runtime_error {
  explicit Stopped(int number);
  int signal;
};

// Catches the three signals as a request to stop, and ignores SIGPIPE so that a closed standard
// output is a failed write, which ends the run with the configuration saved. Call on the main
// thread before any other starts.
void CatchStopSignals();
// The signal that asked the run to stop, or 0.
int StopSignal();
// Keeps the first failure; the run ends with it at the next frame.
void FailRun(const std::string& message);
// Throws Stopped for a signal, std::runtime_error for a failure.
void ThrowIfStopped();

}  // namespace devhost
