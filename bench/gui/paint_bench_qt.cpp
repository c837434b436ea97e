// One full paint of the terminal view onto an image through the Qt canvas:
// a Classic screen whose colours change every 8 columns, and the Xterm
// screen left by the SGR-heavy stream (about 390 runs).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "bench/screen/streams.h"
#include "platform/qt/qt_canvas.h"
#include "tests/view/support/view_rig.h"

using namespace corvane;

namespace {

std::string MixedScreen() {
  std::string text;
  for (int r = 0; r < 25; ++r) {
    text += "\x1b[" + std::to_string(r + 1) + ";1H";
    for (int c = 0; c < 80; ++c) {
      if (c % 8 == 0)
        text += "\x1b[" + std::to_string(30 + (r + c / 8) % 8) + ";" + std::to_string(40 + (r + c / 8 + 3) % 8) + "m";
      text += static_cast<char>('A' + (r + c) % 26);
    }
  }
  return text;
}

void PaintScreen(benchmark::State& state, bool xterm) {
  recording::TViewRig rig;
  {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    platform::qt::TQtCanvas measure(painter);
    measure.SelectFont({"Terminal", 9, platform::TFontPitch::Fixed, 0});
    rig.Window.Metrics = measure.TextMetrics();
  }
  rig.View = std::make_unique<TZuzeRI>(rig.Ports());
  TZuzeRI& view = *rig.View;
  view.SetFont({"Terminal", 9, platform::TFontPitch::Fixed, 0});
  rig.Window.Client = {0, 0, 6 + 80 * view.CharWidth() + 24, 4 + 25 * view.LineHeight() + 8};
  if (xterm) {
    view.SetEmulation(TEmulation::Xterm);
    view.WriteText(bench::SgrStream());
  } else {
    view.Screen().AutoWrap = false;
    view.WriteText(MixedScreen());
  }
  rig.Window.Pending = rig.Window.Client;
  QImage image(rig.Window.Client.Right, rig.Window.Client.Bottom, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    platform::qt::TQtCanvas canvas(painter);
    view.PaintRequest(&canvas);
  }
}

void BM_PaintClassicMixed(benchmark::State& state) { PaintScreen(state, false); }
void BM_PaintXtermSgr(benchmark::State& state) { PaintScreen(state, true); }
BENCHMARK(BM_PaintClassicMixed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintXtermSgr)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
