#pragma once
// The display colour of each of the 16 colour numbers of an attribute byte.
#include "platform/canvas.h"

namespace corvane {

using TColorTable = platform::TPaletteColors;

// Colour numbers 0-7 in SGR order, 8-15 their bright forms.
extern const TColorTable InitialColorTable;

}  // namespace corvane
