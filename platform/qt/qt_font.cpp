#include "platform/qt/qt_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

namespace corvane::platform::qt {
namespace {

constexpr long long kPointsPerInch = 72;
// Beyond this a face is no use on any screen; sizes from an INI file may be absurd.
constexpr long long kMaxPixelHeight = 1000;
const char* const kPreferredFixedFace = "DejaVu Sans Mono";

bool Usable(const QString& family, TFontPitch pitch) {
  if (!QFontDatabase::hasFamily(family)) return false;
  return pitch != TFontPitch::Fixed || QFontDatabase::isFixedPitch(family);
}

QString FixedFace() {
  if (QFontDatabase::hasFamily(kPreferredFixedFace)) return kPreferredFixedFace;
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QFont Build(const TFont& font) {
  const QString requested = QString::fromStdString(font.Name);
  QFont result(Usable(requested, font.Pitch) ? requested : FixedFace());
  result.setPixelSize(PixelHeightOf(font.Size));
  result.setFixedPitch(font.Pitch == TFontPitch::Fixed);
  result.setStyleHint(QFont::TypeWriter);
  result.setBold((font.Style & fsBold) != 0);
  result.setItalic((font.Style & fsItalic) != 0);
  result.setUnderline((font.Style & fsUnderline) != 0);
  result.setStrikeOut((font.Style & fsStrikeOut) != 0);
  return result;
}

}  // namespace

int PixelHeightOf(int points) {
  const long long pixels = (points * static_cast<long long>(kPixelsPerInch) + kPointsPerInch / 2) / kPointsPerInch;
  return static_cast<int>(std::clamp<long long>(pixels, 1, kMaxPixelHeight));
}

// Every paint selects the same font: remember the last one asked for.
QFont ResolveFont(const TFont& font) {
  static TFont last;
  static QFont resolved;
  static bool known = false;
  if (!known || !(font == last)) {
    resolved = Build(font);
    last = font;
    known = true;
  }
  return resolved;
}

TTextMetrics MetricsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(QLatin1Char('0')), metrics.ascent() + metrics.descent(), 0};
}

}  // namespace corvane::platform::qt
