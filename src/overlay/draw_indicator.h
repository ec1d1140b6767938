// One on/off cell: filled in its own colour while held, dark grey while released, with a border
// and a centred label.
#pragma once

#include <string>

#include "host/canvas_wrapper.h"
#include "host/value_types.h"

void DrawIndicator(CanvasWrapper& canvas, int x, int y, int width, int height, bool pressed,
                   const std::string& label, LinearColor onColour, float scale);
