#include "emulator/scroll_strip.h"

#include <algorithm>
#include <cstdint>

namespace corvane {
namespace {
// A thumb stays big enough to grab however many rows are kept.
constexpr int kMinThumb = 12;
// The thumb is narrower than the track, so it shows on its own.
constexpr int kThumbInset = 3;

int FreeTravel(const TStripLayout& Layout) {
  return (Layout.Track.Bottom - Layout.Track.Top) - (Layout.Thumb.Bottom - Layout.Thumb.Top);
}

// a * b / c without overflow, rounded to nearest; c > 0.
int Scaled(int a, int b, int c) { return static_cast<int>((std::int64_t{a} * b + c / 2) / c); }
}  // namespace

TStripLayout LayStrip(const platform::TRect& Strip, int Kept, int Shown, int Back) {
  const int height = std::max(0, Strip.Bottom - Strip.Top);
  Kept = std::max(0, Kept);
  Shown = std::max(1, Shown);
  Back = std::clamp(Back, 0, Kept);
  const int thumb = std::clamp(Scaled(height, Shown, Kept + Shown), std::min(kMinThumb, height), height);
  const int travel = height - thumb;
  const int top = Strip.Top + (Kept > 0 ? Scaled(travel, Kept - Back, Kept) : travel);
  const int inset = std::min(kThumbInset, std::max(0, (Strip.Right - Strip.Left - 1) / 2));
  return {Strip, {Strip.Left + inset, top, Strip.Right - inset, top + thumb}};
}

int BackAtThumbTop(const TStripLayout& Layout, int Kept, int ThumbTop) {
  const int travel = FreeTravel(Layout);
  if (travel <= 0 || Kept <= 0) return 0;
  const int position = std::clamp(ThumbTop - Layout.Track.Top, 0, travel);
  return Kept - Scaled(position, Kept, travel);
}

}  // namespace corvane
