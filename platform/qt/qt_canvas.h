#pragma once
// The canvas port on a QPainter. Stored cell codes are code page 437 and are
// drawn as their Unicode pictures, each in its own cell.
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QRegion>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace corvane::platform::qt {

QRect ToQRect(const TRect& rect);

class TQtCanvas final : public TCanvasPort {
 public:
  explicit TQtCanvas(QPainter& painter);
  // A canvas for a paint event, which changes only `paintRegion`.
  TQtCanvas(QPainter& painter, const QRegion& paintRegion);
  // A canvas for measuring fonts only: it paints on a scratch pixel.
  TQtCanvas();
  ~TQtCanvas() override;

  void SelectFont(const TFont& font) override;
  TTextMetrics TextMetrics() override;
  void RestoreFont() override;
  // Colours are exact on a true-colour surface: there is nothing to realise.
  void RealizePalette(const TPaletteColors&) override {}
  bool RectVisible(const TRect& rect) override;
  void FillRect(const TRect& rect, TRGB color) override;
  void TextRun(int x, int y, const TRect& opaque, std::string_view text, TRGB foreground, TRGB background) override;
  void CellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells, TRGB foreground,
               TRGB background, bool underline) override;
  void BeginRow(const TRect& row) override;
  void EndRow() override;
  void ScaledCellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells, TRGB foreground,
                     TRGB background, bool underline, TGlyphScale scale) override;
  void ClusterText(int x, int y, std::u32string_view text, TRGB foreground) override;
  void Frame(const TRect& rect, TRGB color) override;
  void FocusRect(const TRect& rect) override;

 private:
  void ClipRun(const QRect& opaque);
  void UnclipRun();
  void DrawCells(int x, int baseline, std::string_view text);
  void DrawGlyphs(int x, int baseline, int cellWidth, std::u32string_view cells);

  std::unique_ptr<QImage> scratch_;
  std::unique_ptr<QPainter> ownPainter_;
  QPainter* painter_;
  std::optional<QRegion> paintRegion_;
  std::vector<QFont> previous_;
  QRawFont raw_;
  QGlyphRun run_;
  std::u32string pictures_;
  std::vector<QChar> utf16_;
  std::vector<quint32> indexes_;
  std::vector<quint32> glyphs_;
  std::vector<QPointF> positions_;
  TTextMetrics metrics_;
  int ascent_ = 0;
  bool inRow_ = false;
};

}  // namespace corvane::platform::qt
