#include "sdk/canvas.h"

namespace devhost {

// Out of line, so that the class's type information lives in this library alone.
Canvas::~Canvas() = default;

}  // namespace devhost
