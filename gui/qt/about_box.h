#pragma once
// TAboutBox: the program's name, version, notice and comment with its icon
// on a grooved panel, and an OK button that Enter and Escape both press.
#include <QDialog>

class QLabel;
class QPushButton;

namespace corvane::gui::qt {

class TAboutBox final : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // Centres the dialog on the screen.
  void FormCreate();

  QLabel* ProductName;
  QLabel* Version;
  QLabel* Copyright;
  QLabel* Comments;
  QPushButton* OKButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OKButtonClick() { done(Accepted); }
};

}  // namespace corvane::gui::qt
