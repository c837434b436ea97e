#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/code_page_437.h"

namespace corvane::platform::qt {

std::u32string TQtClipboard::Text() { return QGuiApplication::clipboard()->text().toStdU32String(); }

void TQtClipboard::SetText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdU32String(ClipboardTextFromCp437(text)));
}

void TQtClipboard::SetUnicodeText(const std::u32string& text) {
  QString lines = QString::fromStdU32String(text);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QGuiApplication::clipboard()->setText(lines);
}

}  // namespace corvane::platform::qt
