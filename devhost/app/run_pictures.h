// --png, --png-dir and --video: the frames rendered headless, written as pictures and encoded as
// a video, with a progress line on a terminal.
#pragma once

#include "app/command_line.h"
#include "core/host.h"

namespace devhost {

// With --settings the page's UI frames run in the renderer's own host context and the page shows
// in every picture; without it a page worked by the command line runs in a context of its own.
void RunPictures(Host& host, const CommandLine& options, bool settingsPage);

}  // namespace devhost
