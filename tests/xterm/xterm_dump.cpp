// For comparisons by hand with a reference terminal: feeds a file of bytes a
// program wrote to an Xterm screen of the given size and prints the screen
// as UTF-8 text, one row a line without trailing blanks, then the cursor;
// with "styles", each cell's look as xterm_reference.sh prints it instead.
//
//   xterm_dump ROWS COLS FILE [styles]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "emulator/text_decoder.h"
#include "emulator/xterm_screen.h"

namespace {

// A cell as drawn: foreground/background colour numbers after bold and
// reverse, then b for bold, u for underline. Bold brightens only explicit
// colours: the default foreground (7 here) stays as it is, as in xterm.
std::string LookOf(const corvane::TXtermCell& Cell) {
  int fg = Cell.Fg, bg = Cell.Bg;
  if ((Cell.Flags & corvane::kXBold) != 0 && fg < 7) fg += 8;
  if ((Cell.Flags & corvane::kXReverse) != 0) std::swap(fg, bg);
  // A blank shows no foreground: "_" keeps such cells from differing.
  const bool blank = (Cell.Ch == U' ' || Cell.Ch == 0) && (Cell.Flags & corvane::kXUnderline) == 0;
  std::string look = (blank ? "_" : std::to_string(fg)) + "/" + std::to_string(bg);
  if ((Cell.Flags & corvane::kXBold) != 0) look += "b";
  if ((Cell.Flags & corvane::kXUnderline) != 0) look += "u";
  return look;
}

void PrintLooks(const corvane::TXtermScreen& Screen) {
  for (int r = 0; r < Screen.Rows(); ++r) {
    std::string line;
    for (const corvane::TXtermCell& cell : Screen.Row(r))
      if ((cell.Flags & corvane::kXWideTail) == 0) line += LookOf(cell) + " ";
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && !(argc == 5 && std::string(argv[4]) == "styles")) {
    std::fprintf(stderr, "usage: xterm_dump ROWS COLS FILE [styles]\n");
    return 2;
  }
  std::ifstream file(argv[3], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "xterm_dump: cannot read %s\n", argv[3]);
    return 1;
  }
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  corvane::TXtermScreen screen(std::atoi(argv[1]), std::atoi(argv[2]));
  screen.Feed(bytes);
  if (argc == 5) {
    PrintLooks(screen);
    return 0;
  }
  for (int r = 0; r < screen.Rows(); ++r) {
    std::string text;
    for (const corvane::TXtermCell& cell : screen.Row(r))
      if ((cell.Flags & corvane::kXWideTail) == 0)
        for (const char32_t ch : screen.CellText(cell)) corvane::AppendUtf8(text, ch);
    text.erase(text.find_last_not_of(' ') + 1);
    std::printf("%s\n", text.c_str());
  }
  std::fprintf(stderr, "cursor %d %d\n", screen.Cursor().Row, screen.Cursor().Col);
  return 0;
}
