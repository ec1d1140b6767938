// What lies behind the overlay in a rendered frame: a top-down field and the cars where the scene
// puts them, each with its owner's name. The host's own drawing, never the plugin's.
#pragma once

#include "host/value_types.h"

struct ImDrawList;
struct ImFont;

namespace devhost {

class GameModel;

// The field: the same in every frame of a canvas size.
void DrawField(ImDrawList& list, Vector2 size);
// The cars where the scene puts them on the field of that size, each with its owner's name.
void DrawCars(ImDrawList& list, const ImFont& font, const GameModel& model, Vector2 size);

}  // namespace devhost
