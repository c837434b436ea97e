#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/code_page_437.h"

namespace corvane::platform::qt {

std::u32string TQtClipboard::Text() { return QGuiApplication::clipboard()->text().toStdU32String(); }

void TQtClipboard::SetText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdU32String(ClipboardTextFromCp437(text)));
}

}  // namespace corvane::platform::qt
