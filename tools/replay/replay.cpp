#include "tools/replay/replay.h"

#include "emulator/screen.h"
#include "emulator/xterm_screen.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/screen_dump.h"

namespace corvane {

void PrepareScreen(TScreen& Screen, const TReplayOptions& Options) {
  Screen.SetRows(Options.Rows);
  Screen.SetCols(Options.Cols);
  Screen.AutoLF = Options.AutoLF;
  Screen.AutoCR = Options.AutoCR;
  Screen.XlatIn = !Options.Xlat;
  Screen.XlatDefault = !Options.Xlat;
  Screen.ClearScreen();
}

std::string Replay(std::string_view Input, const TReplayOptions& Options) {
  if (Options.Emulation == TEmulation::Xterm) {
    TXtermScreen xterm(Options.Rows, Options.Cols);
    xterm.SetCharset(Options.Charset);
    xterm.Feed(BytesToFeed(Input, Options.Raw));
    return DumpScreen(xterm, Options.Dump);
  }
  TScreen screen;
  PrepareScreen(screen, Options);
  screen.FeedText(BytesToFeed(Input, Options.Raw));
  return DumpScreen(screen, Options.Dump);
}

}  // namespace corvane
