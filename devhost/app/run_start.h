// How every run starts, whether it keeps its outputs or compares two builds: the files it names
// checked and what killed runs left removed, the scene, and the plugin loaded with the saved
// configuration restored and --set and --exec run.
#pragma once

#include <string>

#include "app/command_line.h"
#include "core/host.h"

namespace devhost {

// --plugin, or DEVHOST_DEFAULT_PLUGIN beside the program.
std::string PluginPath(const CommandLine& options);
// Throws UsageError for an output that is the same file as an input or another output; then
// removes what killed hosts left beside the outputs.
void PrepareFiles(const CommandLine& options);
// The scene first: a bad scene stops the run before the plugin sees anything.
void StartScene(Host& host, const CommandLine& options);
// Loads the plugin, restores the configuration (its problems on standard error) and runs --set
// and --exec in order; tell: what an --exec line prints goes to standard output, and the
// configuration's problems are said. Throws what they throw.
void StartPlugin(Host& host, const CommandLine& options, const std::string& path, LoadFrom from,
                 bool tell);

}  // namespace devhost
