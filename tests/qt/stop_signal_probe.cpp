// The Linux program's own start-up, with capture switched on from the File
// menu as soon as the window shows: the program that the stop-signal test
// ends by a signal.
#include <QAction>
#include <QEvent>
#include <QWidget>

#include "gui/qt/program.h"

namespace {

class TCaptureOnShow final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (done_ || event->type() != QEvent::Show || widget == nullptr) return false;
    for (QAction* action : widget->window()->findChildren<QAction*>())
      if (action->text() == "&Capture") {
        done_ = true;
        action->trigger();
      }
    return false;
  }

 private:
  bool done_ = false;
};

}  // namespace

int main(int, char** argv) {
  TCaptureOnShow watcher;
  return corvane::gui::qt::RunMainWindow(argv[0], {}, &watcher);
}
