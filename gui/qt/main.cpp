// cvtelnet: the Linux program. The command line is read before the window
// system is touched, so --help, --version and a mistake need no display.
#include <cstdio>
#include <string>
#include <vector>

#include "app/about_content.h"
#include "app/command_line.h"
#include "gui/qt/program.h"

namespace {

int Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  using corvane::TCommandLine;
  const TCommandLine commandLine = corvane::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (commandLine.Action) {
    case TCommandLine::TAction::Help:
      return Print(corvane::HelpText());
    case TCommandLine::TAction::Version:
      return Print(corvane::VersionText());
    case TCommandLine::TAction::Fail:
      std::fprintf(stderr, "cvtelnet: %s\n", commandLine.Error.c_str());
      return corvane::kUsageExitStatus;
    case TCommandLine::TAction::Run:
      break;
  }

  return corvane::gui::qt::RunMainWindow(argv[0], commandLine);
}
