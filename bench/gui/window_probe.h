#pragma once
// Runs the Linux program's main window in the Xterm emulation against a
// host, counts the terminal's paints while data arrives, and when the host
// closes the session writes the screen's text picture to a file (as
// cvtelnet-replay prints it), prints one line of figures and ends:
//
//   bytes N seconds S paints P paints/s R rows R cols C

namespace corvane::bench {

int RunWindowProbe(char* programName, const char* host, const char* port, const char* dumpFile);

}  // namespace corvane::bench
