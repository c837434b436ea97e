#pragma once
// Starts the program's main window as cvtelnet does, on the display given
// (or Qt's offscreen platform), and prints the time from the process's start
// and from this call to the terminal's first paint, and the resident memory
// at that moment; then ends. Returns the exit status.

namespace corvane::bench {

int RunStartupProbe(char* programName);

}  // namespace corvane::bench
