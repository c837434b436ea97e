#include "bench/screen/streams.h"

#include <random>

namespace corvane::bench {
namespace {

constexpr std::size_t kSize = 1 << 20;
constexpr const char* kWords[] = {"terminal", "screen", "host", "line",   "cursor", "region", "telnet",
                                  "byte",     "colour", "row",  "column", "the",    "a",      "session"};

std::string Word(std::mt19937& Random) { return kWords[Random() % std::size(kWords)]; }

// A line of words up to Width characters.
std::string TextLine(std::mt19937& Random, std::size_t Width) {
  std::string line;
  for (std::string word = Word(Random); line.size() + word.size() < Width; word = Word(Random)) line += word + ' ';
  return line;
}

}  // namespace

std::string PlainTextStream() {
  std::mt19937 random(1);
  std::string s;
  while (s.size() < kSize) s += TextLine(random, 79) + "\r\n";
  return s;
}

// Coloured words as a listing or a coloured prompt sends them.
std::string SgrStream() {
  std::mt19937 random(2);
  std::string s;
  while (s.size() < kSize) {
    for (int column = 0; column < 70;) {
      const std::string word = Word(random);
      s += "\x1b[" + std::to_string(random() % 2) + ";3" + std::to_string(random() % 8) + ";4" +
           std::to_string(random() % 8) + "m" + word + "\x1b[0m ";
      column += static_cast<int>(word.size()) + 1;
    }
    s += "\r\n";
  }
  return s;
}

// Full-screen redraws as an editor does them: addressed rows, a scrolling
// region, inserted and deleted lines, erased line ends.
std::string RedrawStream() {
  std::mt19937 random(3);
  std::string s;
  while (s.size() < kSize) {
    s += "\x1b[H\x1b[2J";
    for (int row = 1; row <= 24; ++row) s += "\x1b[" + std::to_string(row) + ";1H" + TextLine(random, 78) + "\x1b[K";
    s += "\x1b[3;22r";
    for (int i = 0; i < 10; ++i) {
      s += "\x1b[" + std::to_string(3 + random() % 19) + ";1H\x1b[2L" + TextLine(random, 60);
      s += "\x1b[" + std::to_string(3 + random() % 19) + ";1H\x1b[M";
      s += "\x1b[22;1H\n" + TextLine(random, 70) + "\x1b[5;10H\x1b[3P\x1b[2@";
    }
    s += "\x1b[r\x1b[25;1H\x1b[7mstatus line\x1b[m\x1b[K";
  }
  return s;
}

// Boxes drawn with the DEC special graphics set.
std::string LineDrawingStream() {
  std::string s;
  while (s.size() < kSize) {
    s += "\x1b(0lqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqk\x1b(B\r\n";
    for (int i = 0; i < 8; ++i)
      s += "\x1b(0x\x1b(B  menu entry with some text in it                          \x1b(0x\x1b(B\r\n";
    s += "\x1b(0tqqqqqqqqqqqqqqqqqqqqqnqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqu\x1b(B\r\n";
    s += "\x1b(0mqqqqqqqqqqqqqqqqqqqqqvqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqj\x1b(B\r\n";
  }
  return s;
}

std::string RandomStream() {
  std::mt19937 random(5);
  std::string s(kSize, '\0');
  for (char& ch : s) ch = static_cast<char>(random() & 0xFF);
  return s;
}

}  // namespace corvane::bench
