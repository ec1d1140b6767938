// This process's id, and whether another's is still running: what tells a killed host's temporary
// files from a running one's.
#pragma once

namespace devhost {

int ProcessId();
// A process of another user runs all the same.
bool ProcessRunning(long long pid);

}  // namespace devhost
