#pragma once
// The one thread's message loop on Windows. Every message taken from the
// queue is first offered to the application-wide message hook; a message it
// claims is neither translated nor dispatched. The others go through the
// main window's accelerators and dialog keys (Tab, Enter, Escape), then are
// translated into characters and dispatched.
#include <windows.h>

namespace corvane::platform::win32 {

// The window whose accelerator table (may be null) and dialog keys apply;
// a null window applies neither.
void SetLoopWindow(HWND window, HACCEL accelerators);

// Takes one message through the order above. An exception from the hook is
// reported like one from a handler, and the message counts as claimed.
void PumpMessage(MSG& msg);

// Takes every message that is pending now through PumpMessage, but none
// that their handlers post meanwhile, so that a handler which posts to itself
// cannot hold the caller. The quit message stays queued for the program's
// loop. Returns whether any message was handled.
bool PumpPending();

// Runs until the quit message arrives; returns its exit code. Timer, input
// and paint messages wait no longer than a frame behind posted ones.
int RunMessageLoop();

// Shows every exception that escapes a message handler, the hook or a paint
// in a message box with this caption, and goes on.
void ReportErrorsInMessageBox(const char* caption);

}  // namespace corvane::platform::win32
