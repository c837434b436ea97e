// The replay tool's text picture of an Xterm screen: geometry, cursor, pen,
// region and modes, then one line of UTF-8 cells per row.
#include <cstdio>

#include "emulator/text_decoder.h"
#include "tools/replay/screen_dump.h"

namespace corvane {
namespace {

void AppendFormat(std::string& Out, const char* Format, auto... Args) {
  char text[200];
  const int length = std::snprintf(text, sizeof text, Format, Args...);
  Out.append(text, static_cast<std::size_t>(length));
}

// Control characters never reach the output as they are.
void AppendChar(std::string& Out, char32_t ch) {
  if (ch == U'\\')
    Out += "\\\\";
  else if (ch < 0x20 || ch == 0x7F)
    AppendFormat(Out, "\\x%02X", static_cast<unsigned>(ch));
  else if (ch >= 0x80 && ch < 0xA0)
    AppendFormat(Out, "\\u%04X", static_cast<unsigned>(ch));
  else
    AppendUtf8(Out, ch);
}

void AppendCell(std::string& Out, const TXtermScreen& Screen, const TXtermCell& Cell) {
  if ((Cell.Flags & kXWideTail) != 0) return;
  for (const char32_t ch : Screen.CellText(Cell)) AppendChar(Out, ch);
}

void AppendLook(std::string& Out, const TXtermCell& Cell) {
  AppendFormat(Out, "%X%X%02X", unsigned{Cell.Bg}, unsigned{Cell.Fg}, unsigned{Cell.Flags});
}

void AppendModes(std::string& Out, const TXtermScreen& Screen) {
  const TXtermScreen::TModes& m = Screen.Modes();
  AppendFormat(Out,
               "modes autowrap=%d wrap-pending=%d cursor=%s origin=%d insert=%d newline=%d cursor-keys=%s "
               "keypad=%s reverse=%d paste=%d alternate=%d\n",
               m.AutoWrap, Screen.PendingWrap(), m.CursorVisible ? "shown" : "hidden", m.Origin, m.Insert, m.NewLine,
               m.CursorKeysApp ? "application" : "normal", m.KeypadApp ? "application" : "numeric", m.ReverseScreen,
               m.BracketedPaste, m.AltScreen);
}

}  // namespace

std::string DumpScreen(const TXtermScreen& Screen, const TDumpOptions& Options) {
  std::string out;
  AppendFormat(out, "size %d %d\n", Screen.Rows(), Screen.Cols());
  AppendFormat(out, "cursor %d %d\n", Screen.Cursor().Row, Screen.Cursor().Col);
  out += "attr ";
  AppendLook(out, Screen.Pen());
  AppendFormat(out, "\nregion %d %d\n", Screen.Region().Top, Screen.Region().Bottom);
  AppendModes(out, Screen);
  for (int r = 0; r < Screen.Rows(); ++r) {
    const TXtermRow& row = Screen.Row(r);
    AppendFormat(out, "%02d|", r);
    for (const TXtermCell& cell : row) AppendCell(out, Screen, cell);
    out += "|\n";
    if (!Options.Attrs) continue;
    AppendFormat(out, "%02d ", r);
    for (const TXtermCell& cell : row) AppendLook(out, cell);
    out += '\n';
  }
  return out;
}

}  // namespace corvane
