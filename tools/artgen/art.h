// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace wheelwatcher {

// Font families registered from the installed font files, so no other font can slip in.
struct ArtFonts {
  QString sans;           // DejaVu Sans Bold
  QString sansCondensed;  // DejaVu Sans Condensed Bold
  QString comic;          // Comic Neue Bold
};

// Everything the generator draws. Each function is deterministic: the same build on the same
// fonts gives the same bytes.

// The hit map: every clickable area in its own colour of the region colour table, white elsewhere.
QImage DrawHitMap();

// One picture laid over the layout picture at a fixed place.
struct Overlay {
  QString fileName;
  QImage image;
};

// Pictures the window shows are drawn at a scale of 1, and of 2 for screens of twice the density
// (the "@2x" files). The hit map has no such variant: it works in logical pixels.

// The layout picture as the player sees it before any highlight is shown.
QImage DrawLayout(const ArtFonts& fonts, int scale);

// The highlight overlays and button faces, each cut from a layout drawn with that box changed, so
// it lines up with what it covers.
std::vector<Overlay> DrawOverlays(const ArtFonts& fonts, int scale);

enum class GlyphSize { kSmall, kMedium, kLarge };

// A sheet of the 96 dot-matrix glyphs for codes 32 to 127 in three colours, at a scale of 1 or 2
// (the "@2x" sheets, whose larger dots are rounded).
QImage DrawGlyphSheet(GlyphSize size, int scale);

// The click sound as a complete WAVE file.
QByteArray MakeClickWave();

QImage DrawAboutPicture(const ArtFonts& fonts, int scale);

// The program's icon: a roulette wheel, drawn afresh for each size so small icons stay sharp.
QImage DrawIcon(int size);
// The same wheel as the large icons, as an SVG drawing of 256 x 256 units.
QByteArray DrawScalableIcon();

}  // namespace wheelwatcher
