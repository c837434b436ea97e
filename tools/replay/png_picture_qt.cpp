// The replay tool's picture: the terminal view painted by the Qt window on
// Qt's offscreen platform, so no display is needed.
#include <QApplication>
#include <QImage>
#include <cstdio>

#include "app/terminal_design.h"
#include "gui/qt/qt_terminal_widget.h"
#include "tools/replay/png_picture.h"
#include "tools/replay/replay.h"

namespace corvane {
namespace {

// The paint code's margins: the grid starts 6 pixels from the left and 4
// from the top, the last column's background runs 6 pixels further, and a
// row is painted when it ends 4 pixels above the bottom edge, of which the
// lowest 2 are the rim that it leaves to the window and that is cut off.
constexpr int kLeft = 6, kTop = 4, kRight = 6, kBottom = 2;
constexpr int kRim = 2;

// Standard error carries the terminal's diagnostics; the offscreen
// platform's notes about the desktop it lacks are not among them.
void QuietNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietNotes);
  static int argc = 1;
  static char name[] = "cvtelnet-replay";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
}

}  // namespace

std::string WritePicture(const TReplayOptions& Options, std::string_view Feed) {
  EnsureApplication();
  gui::qt::TQtTerminalWidget widget;
  TViewPorts ports;
  ports.Window = &widget;
  TZuzeRI view(std::move(ports));
  widget.SetView(&view);
  view.SetFont(kTerminalFont);
  view.SetLineHeight(view.WholeGlyphLineHeight(kTerminalLineHeight));
  if (Options.Emulation == TEmulation::Xterm) {
    view.SetEmulation(TEmulation::Xterm);
    view.SetRows(Options.Rows);
    view.SetCols(Options.Cols);
    view.Xterm()->SetCharset(Options.Charset);
    view.Xterm()->Feed(Feed);
  } else {
    PrepareScreen(view.Screen(), Options);
    view.Screen().FeedText(Feed);
  }

  const QSize picture(kLeft + Options.Cols * view.CharWidth() + kRight,
                      kTop + Options.Rows * view.LineHeight() + kBottom);
  widget.resize(picture + QSize(kRim, kRim));
  const QImage image = widget.grab(QRect(QPoint(0, 0), picture)).toImage();
  if (!image.save(QString::fromStdString(Options.Png), "PNG")) return "cannot write " + Options.Png;
  return {};
}

}  // namespace corvane
