#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/std_streams.h"

namespace corvane::platform {

void UseBinaryStandardInput() { _setmode(_fileno(stdin), _O_BINARY); }

}  // namespace corvane::platform
