#pragma once
// TForm1, the main window: the address box with its history, Connect and
// Disconnect, the terminal, the three-panel status bar and the menus. Its
// controls are laid out as designed; what they do is TMainWindow's.
#include <QMainWindow>
#include <memory>

#include "app/main_window.h"
#include "gui/qt/qt_terminal_widget.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_message_box.h"

class QAction;
class QComboBox;
class QLabel;
class QPushButton;

namespace corvane::gui::qt {

// The program stands on the ports and their Qt adapters.
using namespace platform;
using namespace platform::qt;

class TAboutBox;

class TForm1 final : public QMainWindow, public TMainWindowControls {
 public:
  TForm1();
  ~TForm1() override;

  // The About box is created after the main window, as the program starts.
  void SetAboutBox(TAboutBox* aboutBox) { aboutBox_ = aboutBox; }

  // Runs the start-up handler; what it raises is reported and the window
  // is created all the same.
  void FormCreate(const TCommandLine& commandLine);

  TTnZuzeRI& Terminal() { return *tZuzeRI; }
  TQtTerminalWidget* TerminalWidget() { return terminalWidget_; }
  QComboBox* cbAddress;
  QPushButton* bConnect;
  QPushButton* bDisconnect;
  QLabel* Panels[3];
  QAction* Capture;
  QAction* XtermEmulation;
  QAction* SendBreak;
  QAction* AreYouThere;
  QAction* Copy1;
  QAction* Paste1;
  QAction* About1;
  QAction* Exit1;

  std::string AddressText() override;
  void SetAddressText(const std::string& text) override;
  std::vector<std::string> AddressItems() override;
  void AddAddressItem(const std::string& text) override;
  void SetConnectEnabled(bool enabled) override;
  void SetDisconnectEnabled(bool enabled) override;
  void SetPanelText(int panel, const std::string& text) override;
  void SetCaptureChecked(bool checked) override;
  void SetEmulationChecked(bool checked) override;
  void SetSessionCommandsEnabled(bool enabled) override;
  void SetTitle(const std::string& title) override;
  int OuterWidth() override;
  int OuterHeight() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  void MoveTo(int left, int top) override { move(left, top); }
  void SetTerminalClientSize(TSize size) override;
  void SetTerminalMinimumSize(TSize size) override;
  void RepaintNow() override { repaint(); }
  void ShowAboutBox() override;
  void CloseApplication() override;

 private:
  void CreateTop(QWidget* client);
  void CreateTerminal(QWidget* client);
  void CreateStatusBar(QWidget* client);
  void CreateMenus();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void LayOut(QSize client);

  TAboutBox* aboutBox_ = nullptr;
  TQtClipboard clipboard_;
  TQtMessageBox messageBox_;
  QWidget* client_;
  QWidget* pnlTop_;
  QWidget* sbStatus_;
  TQtTerminalWidget* terminalWidget_;
  std::unique_ptr<QObject> shortcutsFirst_;
  std::unique_ptr<TTnZuzeRI> tZuzeRI;
  std::unique_ptr<TMainWindow> handlers_;
};

}  // namespace corvane::gui::qt
