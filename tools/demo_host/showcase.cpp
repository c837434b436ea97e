#include "tools/demo_host/showcase.h"

#include <array>

namespace corvane::demo {
namespace {

constexpr size_t kMaxShownText = 20;
constexpr std::array<const char*, 8> kColourNames = {"black", "red",     "green", "yellow",
                                                     "blue",  "magenta", "cyan",  "white"};

std::string Csi(std::string_view body) { return "\x1b[" + std::string(body); }
std::string At(int row, int col) { return Csi(std::to_string(row) + ";" + std::to_string(col) + "H"); }
std::string Sgr(std::string_view params) { return Csi(std::string(params) + "m"); }
std::string LineDrawing(std::string_view text) { return "\x1b(0" + std::string(text) + "\x1b(B"; }

// A client may report anything; only printable ASCII reaches the screen.
std::string Printable(std::string_view text) {
  std::string shown;
  for (unsigned char c : text.substr(0, kMaxShownText)) shown += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  return shown.empty() ? "unknown" : shown;
}

// One row of the eight colours; prefix selects the variant (bright, reverse).
std::string ColourRow(int row, std::string_view label, std::string_view prefix, int base) {
  std::string out = At(row, 1) + std::string(label);
  for (int c = 0; c < 8; ++c) {
    out += At(row, 12 + c * 8) + Sgr(std::string(prefix) + std::to_string(base + c));
    out += kColourNames[c];
    out += Sgr("0");
  }
  return out;
}

std::string Colours() {
  return At(4, 1) + "Colours" + ColourRow(5, "normal", "", 30) + ColourRow(6, "bright", "1;", 30) +
         ColourRow(7, "background", "30;", 40) + ColourRow(8, "bright bg", "30;5;", 40) +
         ColourRow(9, "reverse", "7;", 30);
}

std::string Box() {
  return At(11, 1) + "Line drawing" + At(12, 3) + LineDrawing("lqqqqqwqqqqqk") + At(13, 3) + LineDrawing("x") +
         " ab  " + LineDrawing("x") + " cd  " + LineDrawing("x") + At(14, 3) + LineDrawing("tqqqqqnqqqqqu") +
         At(15, 3) + LineDrawing("mqqqqqvqqqqqj");
}

// Each demonstration ends in the text "ABCDE" when the command works.
std::string CharacterEditing() {
  return At(11, 30) + "Insert characters:  ACE" + At(11, 51) + Csi("@") + "B" + At(11, 53) + Csi("@") + "D" +
         At(12, 30) + "Delete characters:  AB--CDE" + At(12, 52) + Csi("2P") + At(13, 30) + "Cursor save/restore: " +
         "\x1b"
         "7" +
         At(24, 1) + "Key tester: press keys to see what they send; q ends the session." +
         "\x1b"
         "8" +
         "ABCDE";
}

// Six lines into a four-row region leave lines 3 to 6 on screen and the rows
// around the region untouched.
std::string ScrollingRegion() {
  std::string out = At(16, 1) + "Scrolling region, rows 17-20, six lines written:" + Csi("17;20r");
  out += At(17, 1) + "  scrolled line 1";
  for (int i = 2; i <= 6; ++i) out += "\r\n  scrolled line " + std::to_string(i);
  return out + Csi("r");
}

// Lines one, junk, three: deleting junk and inserting a line gives one, two,
// three. The region keeps the prompt row below out of it.
std::string LineEditing() {
  return Csi("21;23r") + At(21, 1) + "  lines: one" + At(22, 1) + "  lines: junk" + At(23, 1) + "  lines: three" +
         At(22, 1) + Csi("M") + Csi("L") + "  lines: two" + Csi("r");
}

}  // namespace

std::string Greeting(std::string_view term_type, std::string_view location) {
  return "Hello! Terminal type: " + Printable(term_type) + ", location: " + Printable(location) + ".";
}

std::string ShowcaseScreen(std::string_view term_type, std::string_view location) {
  return Sgr("0") + Csi("H") + Csi("2J") + At(1, 1) + Sgr("7") + " Corvane Telnet demo host " + Sgr("0") + At(2, 1) +
         Greeting(term_type, location) + Colours() + Box() + CharacterEditing() + ScrollingRegion() + LineEditing() +
         At(24, 67);
}

}  // namespace corvane::demo
