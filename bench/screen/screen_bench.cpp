// FeedChar throughput on generated streams, each also reported as a ratio to
// a floor loop: the least a byte-at-a-time terminal must do with the same
// bytes (store printable bytes in a 25x80 grid, CR, LF with scrolling, a cursor).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <string>

#include "bench/screen/streams.h"
#include "emulator/screen.h"
#include "platform/diagnostics.h"

namespace corvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

class TFloorGrid {
 public:
  TFloorGrid() { std::memset(FCells, ' ', sizeof FCells); }

  void Feed(const std::string& Bytes) {
    for (unsigned char ch : Bytes) {
      if (ch >= 0x20) {
        FLine[FCol] = ch;
        if (FCol < 79) ++FCol;
      } else if (ch == '\r') {
        FCol = 0;
      } else if (ch == '\n') {
        LineFeed();
      }
    }
  }

 private:
  // Rows form a ring, so scrolling blanks one row instead of moving all.
  void LineFeed() {
    if (FRow < 24) {
      ++FRow;
    } else {
      FTop = (FTop + 1) % 25;
      std::memset(FCells[(FTop + 24) % 25], ' ', 80);
    }
    FLine = FCells[(FTop + FRow) % 25];
  }

  unsigned char FCells[25][80];
  unsigned char* FLine = FCells[0];
  int FRow = 0, FCol = 0, FTop = 0;
};

double NanosecondsPerByte(Clock::duration Elapsed, std::size_t Bytes) {
  return std::chrono::duration<double, std::nano>(Elapsed).count() / static_cast<double>(Bytes);
}

// The floor's best time per byte on a stream, over a few runs.
double FloorNanosecondsPerByte(const std::string& Stream) {
  static std::map<const std::string*, double> measured;
  if (auto found = measured.find(&Stream); found != measured.end()) return found->second;
  TFloorGrid grid;
  double best = 1e9;
  for (int run = 0; run < 20; ++run) {
    const auto start = Clock::now();
    grid.Feed(Stream);
    benchmark::DoNotOptimize(grid);
    best = std::min(best, NanosecondsPerByte(Clock::now() - start, Stream.size()));
  }
  return measured[&Stream] = best;
}

void FeedStream(benchmark::State& State, const std::string& Stream) {
  platform::SetDiagnosticSink([](std::string_view) {});
  platform::SetAlertSink([] {});
  TScreen screen;
  screen.XlatIn = screen.XlatDefault = true;  // the terminal's default settings
  double best = 1e9;
  for (auto _ : State) {
    const auto start = Clock::now();
    for (char ch : Stream) screen.FeedChar(static_cast<std::uint8_t>(ch));
    best = std::min(best, NanosecondsPerByte(Clock::now() - start, Stream.size()));
    benchmark::DoNotOptimize(screen.Lines[0]->Chars.data());
  }
  State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Stream.size()));
  // Best runs on both sides, so that a busy machine distorts the ratio least.
  State.counters["best_ns_per_byte"] = best;
  State.counters["x_floor"] = best / FloorNanosecondsPerByte(Stream);
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

#define CV_STREAM_BENCH(name, make)                                                          \
  void BM_Feed_##name(benchmark::State& state) { FeedStream(state, Stream(make)); }          \
  void BM_Floor_##name(benchmark::State& state) { FloorStream(state, Stream(make)); }        \
  BENCHMARK(BM_Feed_##name)->Unit(benchmark::kMicrosecond);                                  \
  BENCHMARK(BM_Floor_##name)->Unit(benchmark::kMicrosecond)

CV_STREAM_BENCH(PlainText, PlainTextStream);
CV_STREAM_BENCH(SgrText, SgrStream);
CV_STREAM_BENCH(Redraw, RedrawStream);
CV_STREAM_BENCH(LineDrawing, LineDrawingStream);
CV_STREAM_BENCH(RandomBytes, RandomStream);

}  // namespace
}  // namespace corvane::bench

BENCHMARK_MAIN();
