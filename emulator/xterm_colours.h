#pragma once
// The 256 indexed colours hosts ask for with SGR 38;5;n and 48;5;n, and the
// colour table entry nearest to any colour: the cell keeps 16 colours.
#include "emulator/colour_table.h"
#include "platform/canvas.h"

namespace corvane {

// The 16 colours the Xterm emulation paints with: the classic table with
// colour 6 a cyan and colour 9 a bright red, as hosts' colour schemes assume.
extern const TColorTable XtermColorTable;

// Index 0..255: the 16 colours of the table, a 6x6x6 cube, 24 greys.
platform::TRGB IndexedColour(int Index);

// The colour number 0..15 whose table colour is nearest, by a weighted
// distance that follows how the eye weighs red, green and blue.
int NearestOfSixteen(platform::TRGB Colour);

}  // namespace corvane
