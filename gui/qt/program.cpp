#include "gui/qt/program.h"

#include <QIcon>
#include <QPixmap>

#include "app/about_content.h"
#include "desktop/cvtelnet.xpm"
#include "gui/qt/about_box.h"
#include "gui/qt/main_form.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_stop_signals.h"

namespace corvane::gui::qt {

int RunMainWindow(char* programName, const TCommandLine& commandLine, QObject* watcher) {
  int toolkitArgc = 1;  // the arguments are the program's, not the toolkit's
  char* toolkitArgv[] = {programName, nullptr};
  TQtApplication app(toolkitArgc, toolkitArgv);
  QGuiApplication::setApplicationDisplayName(kProductName);
  QGuiApplication::setDesktopFileName("cvtelnet");
  QGuiApplication::setWindowIcon(QIcon(QPixmap(cvtelnet_xpm)));

  TForm1 form;
  // A stop signal ends the program as File > Exit does: the window closes,
  // the loop ends and the terminal closes its capture with "<Close>".
  platform::qt::TQtStopSignals stopSignals([&form] { form.close(); });
  if (watcher != nullptr) form.TerminalWidget()->installEventFilter(watcher);
  form.FormCreate(commandLine);
  TAboutBox aboutBox;
  aboutBox.FormCreate();
  form.SetAboutBox(&aboutBox);
  form.show();
  return app.exec();
}

}  // namespace corvane::gui::qt
