#pragma once
// The program's identity, as the About box and the version record show it.

namespace corvane {

inline constexpr const char* kProductName = "Corvane Telnet";
inline constexpr const char* kVersionNumber = "0.2";
inline constexpr const char* kVersionText = "Version 0.2";
inline constexpr const char* kCommentsText = "Pre-release version";
inline constexpr const char* kCopyrightText = "Copyright (C) Corvane developers";

}  // namespace corvane
