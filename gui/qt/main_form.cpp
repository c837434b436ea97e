#include "gui/qt/main_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include "app/form_layout.h"
#include "desktop/cvtelnet.xpm"
#include "gui/qt/about_box.h"
#include "gui/qt/designed_font.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_error_report.h"

namespace corvane::gui::qt {
namespace {

// Positions and sizes in pixels at 96 dots per inch.
constexpr QSize kClientSize(kDesignedClientSize.Width, kDesignedClientSize.Height);
constexpr QRect kAddress(8, 4, 109, 21);
constexpr QRect kConnect(128, 4, 81, 25);
constexpr QRect kDisconnect(216, 4, 81, 25);
constexpr int kPanelWidths[3] = {100, 200, 200};

QString FromBytes(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
std::string ToBytes(const QString& text) { return text.toStdString(); }

// A handler of the window whose errors go to the error report.
template <typename Handler>
auto Guarded(Handler handler) {
  return [handler] { ReportErrors(handler); };
}

// The menus' Copy and Paste come before the address box's own: an edit box
// would otherwise take Ctrl+C and Ctrl+V for itself.
class TMenuShortcutsFirst final : public QObject {
 public:
  TMenuShortcutsFirst(QAction* copy, QAction* paste) : copy_(copy), paste_(paste) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    return pressed == copy_->shortcut() || pressed == paste_->shortcut();
  }

 private:
  QAction* copy_;
  QAction* paste_;
};

// Case-insensitive order, as the sorted list of the address box keeps it.
int SortedPlace(const QComboBox& box, const QString& text) {
  int at = 0;
  while (at < box.count() && QString::compare(box.itemText(at), text, Qt::CaseInsensitive) <= 0) ++at;
  return at;
}

}  // namespace

TForm1::TForm1() {
  setObjectName("Form1");
  setWindowTitle(kProgramTitle);
  setWindowIcon(QIcon(QPixmap(cvtelnet_xpm)));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(DesignedFormFont());
  client_ = new QWidget(this);
  client_->setMinimumSize(kClientSize);
  client_->resize(kClientSize);
  setCentralWidget(client_);
  CreateTop(client_);
  CreateTerminal(client_);
  CreateStatusBar(client_);
  CreateMenus();
  LayOut(kClientSize);
  adjustSize();
  client_->installEventFilter(this);
  shortcutsFirst_ = std::make_unique<TMenuShortcutsFirst>(Copy1, Paste1);
  cbAddress->installEventFilter(shortcutsFirst_.get());
  handlers_ = std::make_unique<TMainWindow>(*this, *tZuzeRI, *terminalWidget_, clipboard_);
}

// The terminal goes before its window, which must not call into it meanwhile.
TForm1::~TForm1() {
  terminalWidget_->SetView(nullptr);
  handlers_.reset();
  tZuzeRI.reset();
}

void TForm1::CreateTop(QWidget* client) {
  auto* pnlTop = new QFrame(client);
  pnlTop_ = pnlTop;
  pnlTop->setObjectName("pnlTop");
  pnlTop->setFrameStyle(QFrame::Panel | QFrame::Raised);

  cbAddress = new QComboBox(pnlTop);
  cbAddress->setObjectName("cbAddress");
  cbAddress->setEditable(true);
  cbAddress->setInsertPolicy(QComboBox::NoInsert);
  cbAddress->setGeometry(kAddress);
  cbAddress->setToolTip("Enter a valid TCP/IP address or select from the list");

  bConnect = new QPushButton("Connect", pnlTop);
  bConnect->setObjectName("bConnect");
  bConnect->setGeometry(kConnect);
  bConnect->setToolTip("Establish a connection with the remote device");
  connect(bConnect, &QPushButton::clicked, this, Guarded([this] { handlers_->bConnectClick(); }));
  // Enter in the address box presses the default button.
  connect(cbAddress->lineEdit(), &QLineEdit::returnPressed, bConnect, &QPushButton::click);

  bDisconnect = new QPushButton("&Disconnect", pnlTop);
  bDisconnect->setObjectName("bDisconnect");
  bDisconnect->setGeometry(kDisconnect);
  bDisconnect->setEnabled(false);
  bDisconnect->setToolTip("Terminate the connection");
  connect(bDisconnect, &QPushButton::clicked, this, Guarded([this] { handlers_->bDisconnectClick(); }));
}

void TForm1::CreateTerminal(QWidget* client) {
  terminalWidget_ = new TQtTerminalWidget(client);
  terminalWidget_->setObjectName("tZuzeRI");
  TViewPorts ports;
  ports.Window = terminalWidget_;
  ports.Keyboard = &terminalWidget_->Keyboard();
  ports.FrameClock = &terminalWidget_->FrameClock();
  ports.Clipboard = &clipboard_;
  ports.MessageBox = &messageBox_;
  tZuzeRI = std::make_unique<TTnZuzeRI>(std::move(ports));
  terminalWidget_->SetView(tZuzeRI.get());
  ApplyDesignedSettings(*tZuzeRI);
}

void TForm1::CreateStatusBar(QWidget* client) {
  auto* sbStatus = new QStatusBar(client);
  sbStatus_ = sbStatus;
  sbStatus->setObjectName("sbStatus");
  sbStatus->setSizeGripEnabled(false);
  sbStatus->setToolTip("Indicates current connection and capture status");
  const char* initial[3] = {kDisconnectedText, kCaptureOffText, ""};
  for (int i = 0; i < 3; ++i) {
    Panels[i] = new QLabel(initial[i], sbStatus);
    Panels[i]->setFixedWidth(kPanelWidths[i]);
    sbStatus->addWidget(Panels[i]);
  }
}

void TForm1::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  Capture = file->addAction("&Capture");
  Capture->setCheckable(true);
  connect(Capture, &QAction::triggered, this, Guarded([this] { handlers_->CaptureClick(); }));
  file->addSeparator();
  Exit1 = file->addAction("E&xit");
  connect(Exit1, &QAction::triggered, this, Guarded([this] { handlers_->Exit1Click(); }));

  QMenu* edit = menuBar()->addMenu("&Edit");
  Copy1 = edit->addAction("&Copy");
  Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  connect(Copy1, &QAction::triggered, this, Guarded([this] { handlers_->Copy1Click(); }));
  Paste1 = edit->addAction("&Paste");
  Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  connect(Paste1, &QAction::triggered, this, Guarded([this] { handlers_->Paste1Click(); }));

  QMenu* terminal = menuBar()->addMenu("&Terminal");
  XtermEmulation = terminal->addAction("&Xterm emulation");
  XtermEmulation->setCheckable(true);
  connect(XtermEmulation, &QAction::triggered, this, Guarded([this] { handlers_->EmulationClick(); }));
  terminal->addSeparator();
  SendBreak = terminal->addAction("Send &Break");
  connect(SendBreak, &QAction::triggered, this, Guarded([this] { handlers_->SendBreakClick(); }));
  AreYouThere = terminal->addAction("&Are You There");
  connect(AreYouThere, &QAction::triggered, this, Guarded([this] { handlers_->AreYouThereClick(); }));
  SetSessionCommandsEnabled(false);

  QMenu* help = menuBar()->addMenu("&Help");
  About1 = help->addAction("&About...");
  connect(About1, &QAction::triggered, this, Guarded([this] { handlers_->About1Click(); }));
}

void TForm1::FormCreate(const TCommandLine& commandLine) {
  ReportErrors([&] { handlers_->FormCreate(commandLine); });
}

std::string TForm1::AddressText() { return ToBytes(cbAddress->currentText()); }

// An address longer than the box shows from its start, the host first.
void TForm1::SetAddressText(const std::string& text) {
  cbAddress->setEditText(FromBytes(text));
  cbAddress->lineEdit()->setCursorPosition(0);
}

std::vector<std::string> TForm1::AddressItems() {
  std::vector<std::string> items;
  for (int i = 0; i < cbAddress->count(); ++i) items.push_back(ToBytes(cbAddress->itemText(i)));
  return items;
}

// Adding an item leaves the edit text as it was, its cursor too.
void TForm1::AddAddressItem(const std::string& text) {
  const QString edited = cbAddress->currentText();
  const int cursor = cbAddress->lineEdit()->cursorPosition();
  const QString item = FromBytes(text);
  cbAddress->insertItem(SortedPlace(*cbAddress, item), item);
  cbAddress->setEditText(edited);
  cbAddress->lineEdit()->setCursorPosition(cursor);
}

void TForm1::SetConnectEnabled(bool enabled) { bConnect->setEnabled(enabled); }
void TForm1::SetDisconnectEnabled(bool enabled) { bDisconnect->setEnabled(enabled); }
void TForm1::SetPanelText(int panel, const std::string& text) { Panels[panel]->setText(FromBytes(text)); }
void TForm1::SetCaptureChecked(bool checked) { Capture->setChecked(checked); }

void TForm1::SetEmulationChecked(bool checked) { XtermEmulation->setChecked(checked); }

void TForm1::SetSessionCommandsEnabled(bool enabled) {
  SendBreak->setEnabled(enabled);
  AreYouThere->setEnabled(enabled);
}

void TForm1::SetTitle(const std::string& title) { setWindowTitle(QString::fromUtf8(title)); }
int TForm1::OuterWidth() { return frameGeometry().width(); }
int TForm1::OuterHeight() { return frameGeometry().height(); }

int TForm1::ScreenWidth() { return (screen() ? screen() : QGuiApplication::primaryScreen())->geometry().width(); }
int TForm1::ScreenHeight() { return (screen() ? screen() : QGuiApplication::primaryScreen())->geometry().height(); }

// The window grows by what the terminal grows; the controls follow at once,
// also before the window is shown. A maximised window keeps its size.
void TForm1::SetTerminalClientSize(TSize terminal) {
  if (isMaximized() || isFullScreen()) return;  // the window stays as the user made it
  const QSize grow = QSize(terminal.Width, terminal.Height) - terminalWidget_->size();
  const QSize client = client_->size() + grow;
  client_->resize(client);
  LayOut(client);
  resize(size() + grow);
}

// The window's own minimum is what its layout makes of the client's. The
// layout works it out at once: a resize before its next run would stop at
// the old minimum (the designed size). A larger minimum grows the client,
// also before the window is shown, and the controls follow it at once.
void TForm1::SetTerminalMinimumSize(TSize size) {
  const TSize client = ClientForTerminal(size);
  client_->setMinimumSize(client.Width, client.Height);
  layout()->activate();
  LayOut(client_->size());
}

// The controls stretch with the window; the handlers decide what the
// terminal's new area means for its grid.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) {
    LayOut(client_->size());
    if (handlers_) ReportErrors([this] { handlers_->TerminalResized(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::LayOut(QSize client) {
  const TFormLayout layout = LayoutForClient({client.width(), client.height()});
  pnlTop_->setGeometry(ToQRect(layout.TopPanel));
  terminalWidget_->setGeometry(ToQRect(layout.Terminal));
  sbStatus_->setGeometry(ToQRect(layout.StatusBar));
}

void TForm1::ShowAboutBox() {
  if (aboutBox_ != nullptr) aboutBox_->exec();
}

void TForm1::CloseApplication() { close(); }

}  // namespace corvane::gui::qt
