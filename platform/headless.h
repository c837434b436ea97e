#pragma once
// Ports that do nothing, for a view without a window (tools, benchmarks).
#include "platform/clipboard.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace corvane::platform {

TWindowPort& HeadlessWindow();
TKeyboardPort& HeadlessKeyboard();
TClipboardPort& HeadlessClipboard();
TMessageBoxPort& HeadlessMessageBox();

}  // namespace corvane::platform
