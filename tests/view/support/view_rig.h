#pragma once
// A published view wired to recording ports and an in-memory capture disk.
#include <memory>

#include "emulator/terminal_view.h"
#include "tests/view/support/memory_capture_file.h"
#include "tests/view/support/recording_window.h"

namespace corvane::recording {

struct TViewRig {
  TRecordingWindow Window;
  TFakeKeyboard Keyboard;
  TFakeClipboard Clipboard;
  TFakeMessageBox MessageBox;
  TMemoryDisk Disk;
  TFakeFrameClock Clock;  // paces only views made with PacedPorts
  std::unique_ptr<TZuzeRI> View;

  explicit TViewRig(platform::TTextMetrics metrics = {8, 12, 0}) {
    Window.Metrics = metrics;
    View = std::make_unique<TZuzeRI>(Ports());
  }

  // Ports for another view on the same recorders.
  TViewPorts Ports() {
    TViewPorts ports;
    ports.Window = &Window;
    ports.Keyboard = &Keyboard;
    ports.Clipboard = &Clipboard;
    ports.MessageBox = &MessageBox;
    ports.LogFile = std::make_unique<TMemoryCaptureFile>(Disk);
    return ports;
  }

  // As Ports, with updates of streaming text paced by Clock.
  TViewPorts PacedPorts() {
    TViewPorts ports = Ports();
    ports.FrameClock = &Clock;
    return ports;
  }

  // Forgets what construction recorded.
  void ClearRecords() {
    Window.Calls.clear();
    Window.Painted.clear();
    Disk.Ops.clear();
  }
};

}  // namespace corvane::recording
