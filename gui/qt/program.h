#pragma once
// The Linux program once its command line asks for the window: the
// application and its identity, the main window with its About box, and the
// message loop. The program and its start-up benchmark both run this.
#include <QObject>

#include "app/command_line.h"

namespace corvane::gui::qt {

// Runs until the main window closes and returns the loop's exit status.
// `watcher`, when given, sees the terminal widget's events from the start.
int RunMainWindow(char* programName, const TCommandLine& commandLine, QObject* watcher = nullptr);

}  // namespace corvane::gui::qt
