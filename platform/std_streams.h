#pragma once
// Standard streams of command-line tools.

namespace corvane::platform {

// Makes standard input deliver bytes unchanged: on Windows the C runtime
// otherwise turns CR LF into LF and stops at Ctrl-Z, which capture files hold
// as data.
void UseBinaryStandardInput();

}  // namespace corvane::platform
