#pragma once
// The forms' font as designed: "MS Sans Serif", 11 pixels high; Linux has no
// such face, and the toolkit substitutes its sans-serif one.
#include <QFont>

namespace corvane::gui::qt {

inline QFont DesignedFormFont() {
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace corvane::gui::qt
