// cvtelnet.exe: the Windows program. A GUI program has no console, so
// --help, --version and a mistake on the command line show a message box.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/about_content.h"
#include "app/command_line.h"
#include "gui/win32/about_box.h"
#include "gui/win32/main_form.h"
#include "platform/win32/message_pump.h"

namespace {

using corvane::TCommandLine;

// The arguments after the program's name, as the runtime split them.
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  return args;
}

// Returns the exit status when the command line ends the program at once.
bool EndsAtOnce(const TCommandLine& commandLine, int& status) {
  switch (commandLine.Action) {
    case TCommandLine::TAction::Help:
      MessageBoxA(nullptr, corvane::HelpText().c_str(), corvane::kProductName, MB_OK | MB_ICONINFORMATION);
      return true;
    case TCommandLine::TAction::Version:
      MessageBoxA(nullptr, corvane::VersionText().c_str(), corvane::kProductName, MB_OK | MB_ICONINFORMATION);
      return true;
    case TCommandLine::TAction::Fail:
      MessageBoxA(nullptr, ("cvtelnet: " + commandLine.Error).c_str(), corvane::kProductName, MB_OK | MB_ICONERROR);
      status = corvane::kUsageExitStatus;
      return true;
    case TCommandLine::TAction::Run:
      return false;
  }
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const TCommandLine commandLine = corvane::ParseCommandLine(Arguments());
  int status = 0;
  if (EndsAtOnce(commandLine, status)) return status;

  corvane::platform::win32::ReportErrorsInMessageBox(corvane::kProductName);
  corvane::gui::win32::TForm1 form;
  form.FormCreate(commandLine);
  corvane::gui::win32::TAboutBox aboutBox(form.Hwnd());
  aboutBox.FormCreate();
  form.SetAboutBox(&aboutBox);
  form.Show();
  return corvane::platform::win32::RunMessageLoop();
}
