#pragma once
// The application's standard error report: a modal box with the error's
// text, shown once control is back in the event loop, so that the failing
// handler is never entered again while it is still unwinding.
#include <exception>
#include <string>

namespace corvane::platform::qt {

void ShowErrorReport(const std::string& text);

// Runs a handler of the core and reports what it throws: exceptions must not
// unwind through the toolkit's frames. Returns whether it ran to its end.
template <typename Handler>
bool ReportErrors(Handler&& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    ShowErrorReport(e.what());
  } catch (...) {
    ShowErrorReport("Unknown exception");
  }
  return false;
}

}  // namespace corvane::platform::qt
