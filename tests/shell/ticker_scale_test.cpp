// SPDX-License-Identifier: GPL-3.0-or-later
// The panels on scaled screens, run with the other shell tests at scale 1 and by CTest again under
// QT_SCALE_FACTOR 2 and 1.5: from 1.5 on they draw from the glyph sheets drawn at twice the size,
// and at 1 and 2 every screen pixel of a cell is the sheet's own, as the layout picture's are.
#include <gtest/gtest.h>
#include <QImage>
#include <QPixmap>
#include <QStringList>

#include <string>

#include "panels/ticker_panel.h"

namespace wheelwatcher {

namespace {

TEST(DisplayScale, PanelsDrawTheGlyphSheetMadeForTheScale) {
  const struct {
    const char* name;
    int sizeCode;
    const char* sheet;
    int pitchX, pitchY;
  } rows[] = {{"small", 2, ":/glyphs-small", 11, 15},
              {"medium", 0, ":/glyphs-medium", 16, 22},
              {"large", 1, ":/glyphs-large", 22, 30}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QStringList requested;
    CTickerPanel panel(nullptr, [&requested](const QString& path) {
      requested << path;
      return QImage(path);
    });
    panel.SetRows(1);
    panel.SetColumns(4);
    panel.SetGlyphSize(row.sizeCode);
    panel.resize(4 * row.pitchX, row.pitchY);
    const std::string text = "A$7~";
    panel.SetText(text);
    const QImage shot = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);

    const double scale = panel.devicePixelRatioF();
    const bool doubleSize = scale >= 1.5;
    const QString wanted = QString::fromLatin1(row.sheet) + (doubleSize ? "@2x.png" : ".png");
    EXPECT_EQ(requested, QStringList{wanted});
    if (scale != 1 && scale != 2) continue;  // between the sheets' scales Qt resamples

    const QImage sheet = QImage(wanted).convertToFormat(QImage::Format_RGB32);
    const int sheetScale = doubleSize ? 2 : 1;
    ASSERT_EQ(shot.size(), QSize(4 * row.pitchX, row.pitchY) * sheetScale);
    for (std::size_t column = 0; column < text.size(); ++column) {
      const int index = text[column] - 32;
      const QImage cell =
          sheet.copy((index % 32) * row.pitchX * sheetScale, (index / 32) * row.pitchY * sheetScale,
                     row.pitchX * sheetScale, row.pitchY * sheetScale);
      const QImage drawn = shot.copy(static_cast<int>(column) * row.pitchX * sheetScale, 0,
                                     row.pitchX * sheetScale, row.pitchY * sheetScale);
      EXPECT_EQ(drawn, cell) << "cell " << column << " ('" << text[column] << "')";
    }
  }
}

}  // namespace

}  // namespace wheelwatcher
