// What lies behind the overlay in a rendered frame: a top-down field and the cars where the scene
// puts them, each with its owner's name. The host's own drawing, never the plugin's.
#pragma once

#include "host/value_types.h"

struct ImDrawList;
struct ImFont;

namespace devhost {

class GameModel;

void DrawBackdrop(ImDrawList& list, const ImFont& font, const GameModel& model, Vector2 size);

}  // namespace devhost
