#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "emulator/terminal_view.h"
#include "tests/view/support/view_rig.h"

using namespace corvane;

namespace {

// A whole screen of text whose colours change every 8 columns, so each row
// paints as cols / 8 runs.
std::string MixedScreen(int rows, int cols) {
  std::string text = "\x1b[H";
  for (int r = 0; r < rows; ++r) {
    text += "\x1b[" + std::to_string(r + 1) + ";1H";
    for (int c = 0; c < cols; ++c) {
      if (c % 8 == 0)
        text += "\x1b[" + std::to_string(30 + (r + c / 8) % 8) + ";" + std::to_string(40 + (r + c / 8 + 3) % 8) + "m";
      text += static_cast<char>('A' + (r + c) % 26);
    }
  }
  return text;
}

void BM_WriteUpdatePaint(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const int cols = static_cast<int>(state.range(1));
  recording::TViewRig rig({8, 12, 0});
  rig.Window.Client = {0, 0, 6 + cols * 8 + 8, 4 + rows * 12 + 6};
  TZuzeRI& view = *rig.View;
  view.SetRows(rows);
  view.SetCols(cols);
  view.Screen().AutoWrap = false;
  const std::string screen = MixedScreen(rows, cols);
  rig.Window.Painted.reserve(4096);
  std::size_t calls = 0;
  for (auto _ : state) {
    rig.Window.Painted.clear();
    rig.Window.Pending.Clear();
    view.WriteText(screen);
    view.Screen().RepaintAll = true;  // a full repaint, as after a scroll
    view.UpdateScreen();
    view.PaintRequest();
    calls = rig.Window.Painted.size();
    benchmark::DoNotOptimize(calls);
  }
  state.counters["calls_per_paint"] = static_cast<double>(calls);
  state.counters["bytes_per_screen"] = static_cast<double>(screen.size());
}
BENCHMARK(BM_WriteUpdatePaint)->Args({25, 80})->Args({50, 132})->Unit(benchmark::kMicrosecond);

// WriteText of 4 KB of plain text lines with the capture file on or off. With
// capture on, each call writes its bytes to the file and flushes them once.
void BM_WriteTextCapture(benchmark::State& state) {
  const bool capture = state.range(0) != 0;
  const auto saved = std::filesystem::current_path();
  const auto dir = std::filesystem::temp_directory_path() / "cv-view-bench";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  std::filesystem::remove("ZUZERI.LOG");
  {
    TZuzeRI view;
    view.SetXlat(false);
    std::string chunk;
    while (chunk.size() < 4096) chunk += "The quick brown fox jumps over the lazy dog 0123456789\r\n";
    view.SetLog(capture);
    for (auto _ : state) view.WriteText(chunk);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * chunk.size()));
    view.SetLog(false);
  }
  std::filesystem::current_path(saved);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WriteTextCapture)->Arg(0)->Arg(1)->ArgName("capture")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
