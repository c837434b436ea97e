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

#include "desktop/cvtelnet.xpm"
#include "gui/qt/about_box.h"
#include "gui/qt/designed_font.h"
#include "platform/qt/qt_error_report.h"

namespace corvane::gui::qt {
namespace {

// Positions and sizes in pixels at 96 dots per inch.
constexpr QSize kClientSize(653, 380);
constexpr QRect kTopPanel(0, 0, 653, 33);
constexpr QRect kAddress(8, 4, 109, 21);
constexpr QRect kConnect(128, 4, 81, 25);
constexpr QRect kDisconnect(216, 4, 81, 25);
constexpr QRect kTerminal(0, 36, 649, 317);
constexpr QRect kStatusBar(0, 354, 653, 26);
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
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(DesignedFormFont());
  client_ = new QWidget(this);
  client_->setFixedSize(kClientSize);
  setCentralWidget(client_);
  CreateTop(client_);
  CreateTerminal(client_);
  CreateStatusBar(client_);
  CreateMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
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
  pnlTop->setGeometry(kTopPanel);

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
  terminalWidget_->setGeometry(kTerminal);
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
  sbStatus->setGeometry(kStatusBar);
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

  QMenu* help = menuBar()->addMenu("&Help");
  About1 = help->addAction("&About...");
  connect(About1, &QAction::triggered, this, Guarded([this] { handlers_->About1Click(); }));
}

void TForm1::FormCreate(const TCommandLine& commandLine) {
  ReportErrors([&] { handlers_->FormCreate(commandLine); });
}

std::string TForm1::AddressText() { return ToBytes(cbAddress->currentText()); }

void TForm1::SetAddressText(const std::string& text) { cbAddress->setEditText(FromBytes(text)); }

std::vector<std::string> TForm1::AddressItems() {
  std::vector<std::string> items;
  for (int i = 0; i < cbAddress->count(); ++i) items.push_back(ToBytes(cbAddress->itemText(i)));
  return items;
}

// Adding an item leaves the edit text as it was.
void TForm1::AddAddressItem(const std::string& text) {
  const QString edited = cbAddress->currentText();
  const QString item = FromBytes(text);
  cbAddress->insertItem(SortedPlace(*cbAddress, item), item);
  cbAddress->setEditText(edited);
}

void TForm1::SetConnectEnabled(bool enabled) { bConnect->setEnabled(enabled); }
void TForm1::SetDisconnectEnabled(bool enabled) { bDisconnect->setEnabled(enabled); }
void TForm1::SetPanelText(int panel, const std::string& text) { Panels[panel]->setText(FromBytes(text)); }
void TForm1::SetCaptureChecked(bool checked) { Capture->setChecked(checked); }

void TForm1::SetEmulationChecked(bool checked) { XtermEmulation->setChecked(checked); }

void TForm1::SetTitle(const std::string& title) { setWindowTitle(QString::fromUtf8(title)); }
int TForm1::OuterWidth() { return frameGeometry().width(); }
int TForm1::OuterHeight() { return frameGeometry().height(); }

int TForm1::ScreenWidth() { return (screen() ? screen() : QGuiApplication::primaryScreen())->geometry().width(); }
int TForm1::ScreenHeight() { return (screen() ? screen() : QGuiApplication::primaryScreen())->geometry().height(); }

// The top panel widens and the status bar moves down with the terminal.
void TForm1::SetTerminalClientSize(TSize size) {
  const QSize grow = QSize(size.Width, size.Height) - terminalWidget_->size();
  terminalWidget_->resize(size.Width, size.Height);
  pnlTop_->resize(pnlTop_->size() + QSize(grow.width(), 0));
  sbStatus_->setGeometry(sbStatus_->geometry().translated(0, grow.height()).adjusted(0, 0, grow.width(), 0));
  client_->setFixedSize(client_->size() + grow);
  adjustSize();
}

void TForm1::ShowAboutBox() {
  if (aboutBox_ != nullptr) aboutBox_->exec();
}

void TForm1::CloseApplication() { close(); }

}  // namespace corvane::gui::qt
