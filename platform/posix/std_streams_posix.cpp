#include "platform/std_streams.h"

namespace corvane::platform {

// POSIX streams never translate bytes.
void UseBinaryStandardInput() {}

}  // namespace corvane::platform
