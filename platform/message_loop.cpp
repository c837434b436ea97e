#include "platform/message_loop.h"

#include <exception>
#include <utility>

#include "platform/diagnostics.h"

namespace corvane::platform {
namespace {

HandlerExceptionSink& Sink() {
  static HandlerExceptionSink sink;
  return sink;
}

void Report(const std::string& message) {
  if (Sink()) {
    Sink()(message);
  } else {
    WriteDiagnostic("Unhandled exception in a message handler: " + message + "\n");
  }
}

}  // namespace

HandlerExceptionSink SetHandlerExceptionSink(HandlerExceptionSink sink) { return std::exchange(Sink(), std::move(sink)); }

void InvokeHandler(const MessageHandler& handler, std::uint32_t message, MessageWord word, MessageLong lparam) {
  try {
    handler(message, word, lparam);
  } catch (const std::exception& e) {
    Report(e.what());
  } catch (...) {
    Report("unknown exception");
  }
}

}  // namespace corvane::platform
