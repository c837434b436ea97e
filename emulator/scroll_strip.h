#pragma once
// The scroll bar in the view's right strip, as geometry: a track the height
// of the strip and a thumb whose height is the share of all rows the screen
// shows and whose place says how far back into the kept rows the view is.
#include "platform/rect.h"

namespace corvane {

struct TStripLayout {
  platform::TRect Track;
  platform::TRect Thumb;
};

// Kept: rows in the scrollback; Shown: rows of the screen; Back: how many
// kept rows the view shows above the screen (0 at the bottom).
TStripLayout LayStrip(const platform::TRect& Strip, int Kept, int Shown, int Back);
// How far back the view is when the thumb's top is dragged to ThumbTop.
int BackAtThumbTop(const TStripLayout& Layout, int Kept, int ThumbTop);

}  // namespace corvane
