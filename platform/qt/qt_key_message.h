#pragma once
// A Qt key press as the key-down message the window system would deliver:
// the virtual-key code, the PC set-1 scan code with the extended flag for the
// grey cursor and editing keys (not for the keypad) and the Alt bit. With Alt
// held and Ctrl not, it is a system key-down, which the menus take.
#include <QString>
#include <Qt>
#include <QtGlobal>
#include <optional>

#include "platform/message_hook.h"

namespace corvane::platform::qt {

// `nativeScanCode` is the X or Wayland key code (the Linux key code + 8), or 0
// when the platform gives none; then the scan code of the key's place on a US
// keyboard is used.
TMessage KeyDownMessage(const void* window, int key, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

// The system character message that Windows makes of a system key-down no
// one claimed: the one character `text` holds, as its code point, with the
// key's data; nothing when the key types no single character.
std::optional<TMessage> SysCharMessage(const TMessage& sysKeyDown, const QString& text);

// The virtual-key code of a key; 0 for keys that have none.
int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers);

}  // namespace corvane::platform::qt
