#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace ts {

// A 5x7 pixel font built into the generator. Pictures with letters then come out the same on
// every machine, whatever fonts are installed. Lower-case letters are drawn as capitals; letters
// without a glyph are left out.
int glyphTextWidth(const QString& text, int scale);
void drawGlyphText(QImage& image, int left, int top, const QString& text, int scale, QColor color);
// Centred in the picture, scaled to fit its width and height with a margin.
void drawCentredText(QImage& image, const QString& text, QColor color, int maxScale = 8);

} // namespace ts
