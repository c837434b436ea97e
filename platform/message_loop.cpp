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

HandlerExceptionSink SetHandlerExceptionSink(HandlerExceptionSink sink) {
  return std::exchange(Sink(), std::move(sink));
}

bool RunGuarded(const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const std::exception& e) {
    Report(e.what());
  } catch (...) {
    Report("unknown exception");
  }
  return false;
}

void InvokeHandler(const MessageHandler& handler, std::uint32_t message, MessageWord word, MessageLong lparam) {
  RunGuarded([&] { handler(message, word, lparam); });
}

}  // namespace corvane::platform
