// Throughput of both emulations on generated streams (FeedChar of the classic
// screen, Feed of the Xterm screen), each also reported as a ratio to a floor
// loop: the least a byte-at-a-time terminal must do with the same bytes
// (store printable bytes in a 25x80 grid, CR, LF with scrolling, a cursor).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "bench/screen/floor_grid.h"
#include "bench/screen/streams.h"
#include "emulator/screen.h"
#include "emulator/xterm_screen.h"
#include "platform/diagnostics.h"

namespace corvane::bench {
namespace {

// Processor time, so that time the process spends waiting for a processor on
// a busy machine is not counted.
template <typename Feed>
double CpuNanoseconds(Feed&& Run) {
  const std::clock_t start = std::clock();
  Run();
  return static_cast<double>(std::clock() - start) * 1e9 / CLOCKS_PER_SEC;
}

// Each iteration also runs the floor on the same bytes right after, so that
// both see the same conditions; the ratio reported is the median of these
// pairs.
template <typename Feed>
void MeasureAgainstFloor(benchmark::State& State, const std::string& Stream, Feed&& FeedAll) {
  TFloorGrid floor;
  std::vector<double> ratios;
  double best = 1e18;
  for (auto _ : State) {
    const double feed = CpuNanoseconds(FeedAll);
    State.PauseTiming();
    const double least = CpuNanoseconds([&] { floor.Feed(Stream); });
    benchmark::DoNotOptimize(floor);
    ratios.push_back(feed / least);
    best = std::min(best, feed);
    State.ResumeTiming();
  }
  State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Stream.size()));
  std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
  State.counters["best_ns_per_byte"] = best / static_cast<double>(Stream.size());
  State.counters["x_floor"] = ratios[ratios.size() / 2];
}

void FeedStream(benchmark::State& State, const std::string& Stream) {
  platform::SetDiagnosticSink([](std::string_view) {});
  platform::SetAlertSink([] {});
  TScreen screen;
  screen.XlatIn = screen.XlatDefault = true;  // the terminal's default settings
  MeasureAgainstFloor(State, Stream, [&] {
    for (char ch : Stream) screen.FeedChar(static_cast<std::uint8_t>(ch));
    benchmark::DoNotOptimize(screen.Lines[0]->Chars.data());
  });
}

// The Xterm screen at the floor's size, fed in the reads a connection makes.
void XtermStream(benchmark::State& State, const std::string& Stream) {
  TXtermScreen screen(25, 80);
  constexpr std::size_t kRead = 64 * 1024;
  MeasureAgainstFloor(State, Stream, [&] {
    for (std::size_t at = 0; at < Stream.size(); at += kRead) screen.Feed(std::string_view(Stream).substr(at, kRead));
    benchmark::DoNotOptimize(screen.Row(0).data());
  });
}

void FloorStream(benchmark::State& State, const std::string& Stream) {
  TFloorGrid grid;
  for (auto _ : State) {
    grid.Feed(Stream);
    benchmark::DoNotOptimize(grid);
  }
  State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Stream.size()));
}

const std::string& Stream(std::string (*Make)()) {
  static std::map<std::string (*)(), std::string> made;
  auto [entry, fresh] = made.try_emplace(Make);
  if (fresh) entry->second = Make();
  return entry->second;
}

#define CV_STREAM_BENCH(name, make)                                                   \
  void BM_Feed_##name(benchmark::State& state) { FeedStream(state, Stream(make)); }   \
  void BM_Xterm_##name(benchmark::State& state) { XtermStream(state, Stream(make)); } \
  void BM_Floor_##name(benchmark::State& state) { FloorStream(state, Stream(make)); } \
  BENCHMARK(BM_Feed_##name)->Unit(benchmark::kMicrosecond);                           \
  BENCHMARK(BM_Xterm_##name)->Unit(benchmark::kMicrosecond);                          \
  BENCHMARK(BM_Floor_##name)->Unit(benchmark::kMicrosecond)

CV_STREAM_BENCH(PlainText, PlainTextStream);
CV_STREAM_BENCH(SgrText, SgrStream);
CV_STREAM_BENCH(Redraw, RedrawStream);
CV_STREAM_BENCH(LineDrawing, LineDrawingStream);
CV_STREAM_BENCH(RandomBytes, RandomStream);

}  // namespace
}  // namespace corvane::bench

BENCHMARK_MAIN();
