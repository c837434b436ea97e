#include "gui/qt/about_box.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "app/about_content.h"
#include "app/centring.h"
#include "desktop/cvtelnet.xpm"
#include "gui/qt/designed_font.h"

namespace corvane::gui::qt {
namespace {

// Positions and sizes in pixels at 96 dots per inch.
constexpr QSize kClientSize(298, 213);
constexpr QRect kPanel(8, 8, 281, 161);
constexpr QRect kIcon(8, 8, 32, 32);
constexpr QRect kOKButton(111, 180, 75, 25);

// A label at its designed place, as wide as its text needs.
QLabel* Label(QWidget* parent, const char* text, QPoint at) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->move(at);
  label->adjustSize();
  return label;
}

// A word-wrapped label keeps its designed width and grows downwards.
QLabel* WrappedLabel(QWidget* parent, const char* text, QPoint at, int width) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setWordWrap(true);
  label->setGeometry(at.x(), at.y(), width, label->heightForWidth(width));
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  setFont(DesignedFormFont());
  setFixedSize(kClientSize);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Box | QFrame::Sunken);  // lowered outside, raised inside
  panel->setGeometry(kPanel);
  auto* icon = new QLabel(panel);
  icon->setObjectName("ProgramIcon");
  icon->setGeometry(kIcon);
  icon->setScaledContents(true);
  icon->setPixmap(QPixmap(cvtelnet_xpm));

  ProductName = Label(panel, kProductName, {88, 16});
  Version = Label(panel, kVersionText, {104, 44});
  Copyright = Label(panel, kCopyrightText, {80, 80});
  Comments = WrappedLabel(panel, kCommentsText, {84, 104}, 90);

  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setGeometry(kOKButton);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
}

void TAboutBox::FormCreate() {
  const QRect screen = (this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen())->geometry();
  const QSize outer = frameGeometry().size();
  const TOrigin at = CentredOrigin(screen.width(), screen.height(), outer.width(), outer.height());
  move(at.Left, at.Top);
}

// Escape presses OK too: the button is the dialog's cancel button as well.
void TAboutBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    OKButton->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace corvane::gui::qt
