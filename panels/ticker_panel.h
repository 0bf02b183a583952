// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "panels/ticker_text.h"

class QPaintEvent;

namespace wheelwatcher {

// A small dot-matrix LED sign: draws its text one character cell at a time from a glyph sheet and
// moves it by whole cells on its own timer. Mouse input passes through to whatever lies beneath.
class CTickerPanel : public QWidget {
  Q_OBJECT
 public:
  // Loads the glyph sheet picture at a resource path (":/glyphs-small.png" and so on, and
  // ":/glyphs-small@2x.png" on screens scaled by 1.5 and more, falling back to the plain sheet when
  // that gives a null image); a null image leaves the cells in the background colour.
  using GlyphSheetLoader = std::function<QImage(const QString& resourcePath)>;

  // Without a loader the sheets come from the program's embedded resources.
  explicit CTickerPanel(QWidget* parent = nullptr, GlyphSheetLoader loadGlyphSheet = {});

  // Repaints only when text differs from the stored text. Assistive technology is told only when
  // the message itself changes, never on a scroll step, and never while the panel has an
  // accessible name of its own.
  void SetText(const std::string& text);
  void SetRows(int rows);
  void SetColumns(int columns);
  // 2 small (10 x 14, gap 1), 0 medium (14 x 20, gap 2), 1 and any other value large (19 x 27,
  // gap 3). No repaint.
  void SetGlyphSize(int sizeCode);
  // The colours given to the sheet's background, lit dots and unlit dots.
  void SetPalette(QColor background, QColor lit, QColor unlit);
  // Resize in place: columns * column pitch + 4 wide, current height + 4 high; sets the column
  // count only when it is still 0.
  void FitColumns(int columns);
  // Resize in place: current width + 4 wide, rows * row pitch + 4 high; sets the row count only
  // when it is still 0.
  void FitRows(int rows);
  void SetPadding(bool autoPad, char padChar);
  // Does nothing while already scrolling: the first period and direction stay.
  void StartScrolling(int periodMs, int direction);
  void StopScrolling();

  // One scroll tick, as the panel's timer runs it.
  void OnScrollTimer();

  // The stored text as it stands after padding and scrolling.
  const std::string& text() const { return ticker_.text(); }
  // The text last given to SetText, whole and unscrolled: what the panel says.
  const std::string& message() const { return message_; }
  int rows() const { return ticker_.rows(); }
  int columns() const { return ticker_.columns(); }
  int direction() const { return ticker_.direction(); }
  bool isRunning() const { return running_; }
  int scrollPeriod() const { return scrollTimer_.interval(); }
  int columnPitch() const { return cellWidth_ + gapX_; }
  int rowPitch() const { return cellHeight_ + gapY_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QPixmap& RecolouredSheet();

  GlyphSheetLoader loadGlyphSheet_;
  TickerText ticker_;
  std::string message_;
  bool running_ = false;
  QColor unlitColour_{23, 64, 103};
  QColor litColour_{63, 181, 255};
  QColor backColour_{0, 0, 0};
  QString glyphSheet_;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
  int gapX_ = 0;
  int gapY_ = 0;
  QTimer scrollTimer_;
  // The sheet as loaded, and recoloured for the current palette; rebuilt only when either changes.
  QImage sourceSheet_;
  QPixmap recolouredSheet_;
  bool sourceSheetLoaded_ = false;
  bool sourceSheetDoubleSize_ = false;
  bool recolouredSheetValid_ = false;
};

}  // namespace wheelwatcher
