// cvtelnet: the Linux program. The command line is read before the window
// system is touched, so --help, --version and a mistake need no display.
#include <cstdio>
#include <string>
#include <vector>

#include "app/about_content.h"
#include "app/command_line.h"
#include "desktop/cvtelnet.xpm"
#include "platform/qt/about_box.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_application.h"

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

  int toolkitArgc = 1;  // the arguments are the program's, not the toolkit's
  corvane::platform::qt::TQtApplication app(toolkitArgc, argv);
  QGuiApplication::setApplicationDisplayName(corvane::kProductName);
  QGuiApplication::setDesktopFileName("cvtelnet");
  QGuiApplication::setWindowIcon(QIcon(QPixmap(cvtelnet_xpm)));

  corvane::platform::qt::TForm1 form;
  form.FormCreate(commandLine);
  corvane::platform::qt::TAboutBox aboutBox;
  aboutBox.FormCreate();
  form.SetAboutBox(&aboutBox);
  form.show();
  return app.exec();
}
