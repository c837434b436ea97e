#include "tools/replay/screen_dump.h"

#include <cstdio>

namespace corvane {
namespace {

void AppendFormat(std::string& Out, const char* Format, auto... Args) {
  char text[160];
  const int length = std::snprintf(text, sizeof text, Format, Args...);
  Out.append(text, static_cast<std::size_t>(length));
}

void AppendCell(std::string& Out, std::uint8_t Ch) {
  if (Ch == '\\')
    Out += "\\\\";
  else if (Ch >= 0x20 && Ch <= 0x7E)
    Out += static_cast<char>(Ch);
  else
    AppendFormat(Out, "\\x%02X", static_cast<unsigned>(Ch));
}

void AppendModes(std::string& Out, const TScreen& Screen) {
  AppendFormat(Out, "modes autowrap=%d cursor=%s xlat=%d table=%s altfont=%d reverse=%d raw=%d\n", Screen.AutoWrap,
               Screen.CursorHidden ? "hidden" : "shown", Screen.XlatIn,
               Screen.XlatTable == &GraphicsTable ? "graphics" : "ascii", Screen.AltFont, Screen.Reverse,
               Screen.RawCount);
}

}  // namespace

std::string DumpScreen(const TScreen& Screen, const TDumpOptions& Options) {
  std::string out;
  AppendFormat(out, "size %d %d\n", Screen.Rows(), Screen.Cols());
  AppendFormat(out, "cursor %d %d\n", Screen.Cursor.Row, Screen.Cursor.Col);
  AppendFormat(out, "attr %02X\n", static_cast<unsigned>(Screen.Attr));
  AppendFormat(out, "region %d %d\n", Screen.Region.Top, Screen.Region.Bottom);
  AppendModes(out, Screen);
  const int columns = Options.AllColumns ? kLineCells : Screen.Cols();
  for (int r = 0; r < Screen.Rows(); ++r) {
    const TLine& line = *Screen.Lines[r];
    AppendFormat(out, "%02d|", r);
    for (int c = 0; c < columns; ++c) AppendCell(out, line.Chars[c]);
    out += "|\n";
    if (!Options.Attrs) continue;
    AppendFormat(out, "%02d ", r);
    for (int c = 0; c < columns; ++c) AppendFormat(out, "%02X", static_cast<unsigned>(line.Attrs[c]));
    out += '\n';
  }
  return out;
}

}  // namespace corvane
