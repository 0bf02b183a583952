// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/ticker_panel.h"

#include <QAccessible>
#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QRgb>
#include <utility>

namespace wheelwatcher {

namespace {

constexpr QRgb kSheetLit = qRgb(63, 181, 255);
constexpr QRgb kSheetUnlit = qRgb(23, 64, 103);
constexpr QRgb kSheetBackground = qRgb(0, 0, 0);

constexpr int kFirstGlyphCode = 32;
constexpr int kLastGlyphCode = 127;
constexpr int kSheetColumns = 32;

// Each pixel is looked up in the original sheet, so a new colour equal to another sheet colour
// is never replaced a second time. Any other colour is left as it is.
QImage RecolourSheet(const QImage& sheet, QRgb background, QRgb lit, QRgb unlit) {
  QImage recoloured = sheet.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < recoloured.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(recoloured.scanLine(y));
    for (int x = 0; x < recoloured.width(); ++x) {
      const QRgb colour = line[x] | 0xFF000000u;
      if (colour == kSheetLit) {
        line[x] = lit;
      } else if (colour == kSheetUnlit) {
        line[x] = unlit;
      } else if (colour == kSheetBackground) {
        line[x] = background;
      }
    }
  }
  return recoloured;
}

// One image per sheet for the whole program (user-interface thread only), so that panels share it
// and with it their recoloured copies.
QImage LoadEmbeddedSheet(const QString& resourcePath) {
  static QHash<QString, QImage> sheets;
  auto found = sheets.constFind(resourcePath);
  if (found == sheets.cend()) found = sheets.insert(resourcePath, QImage(resourcePath));
  return *found;
}

// Panels with the same sheet and palette draw from one recoloured copy. The key names the loaded
// image itself (its cache key is never reused), so sheets from different loaders never mix.
QPixmap SharedRecolouredSheet(const QImage& sheet, QRgb background, QRgb lit, QRgb unlit) {
  const QString key = QStringLiteral("wheelwatcher-glyphs-%1-%2-%3-%4")
                          .arg(sheet.cacheKey())
                          .arg(background, 0, 16)
                          .arg(lit, 0, 16)
                          .arg(unlit, 0, 16);
  QPixmap recoloured;
  if (!QPixmapCache::find(key, &recoloured)) {
    recoloured = QPixmap::fromImage(RecolourSheet(sheet, background, lit, unlit));
    QPixmapCache::insert(key, recoloured);
  }
  return recoloured;
}

}  // namespace

CTickerPanel::CTickerPanel(QWidget* parent, GlyphSheetLoader loadGlyphSheet)
    : QWidget(parent),
      loadGlyphSheet_(loadGlyphSheet ? std::move(loadGlyphSheet) : LoadEmbeddedSheet) {
  // The panel draws every pixel it shows itself, and nothing at all for an empty text, so Qt must
  // not fill a background beneath it either.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  scrollTimer_.setTimerType(Qt::CoarseTimer);
  connect(&scrollTimer_, &QTimer::timeout, this, &CTickerPanel::OnScrollTimer);
}

void CTickerPanel::SetText(const std::string& text) {
  if (!ticker_.SetText(text)) return;
  update();
  if (text == message_) return;  // the same message set again restarts its scrolling only
  message_ = text;
  // A panel with a steady accessible name (one that blinks) is not renamed by its texts.
  if (!accessibleName().isEmpty()) return;
  QAccessibleEvent changed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
}

void CTickerPanel::SetRows(int rows) { ticker_.SetRows(rows); }

void CTickerPanel::SetColumns(int columns) { ticker_.SetColumns(columns); }

void CTickerPanel::SetGlyphSize(int sizeCode) {
  struct GlyphGeometry {
    int cellWidth;
    int cellHeight;
    int gap;
    const char* sheet;
  };
  static constexpr GlyphGeometry kSmall{10, 14, 1, ":/glyphs-small.png"};
  static constexpr GlyphGeometry kMedium{14, 20, 2, ":/glyphs-medium.png"};
  static constexpr GlyphGeometry kLarge{19, 27, 3, ":/glyphs-large.png"};
  const GlyphGeometry& geometry = sizeCode == 2 ? kSmall : sizeCode == 0 ? kMedium : kLarge;
  cellWidth_ = geometry.cellWidth;
  cellHeight_ = geometry.cellHeight;
  gapX_ = gapY_ = geometry.gap;
  const QString sheet = QString::fromLatin1(geometry.sheet);
  if (sheet != glyphSheet_) {
    glyphSheet_ = sheet;
    sourceSheetLoaded_ = false;
    recolouredSheetValid_ = false;
  }
}

void CTickerPanel::SetPalette(QColor background, QColor lit, QColor unlit) {
  if (background.rgb() != backColour_.rgb() || lit.rgb() != litColour_.rgb() ||
      unlit.rgb() != unlitColour_.rgb()) {
    recolouredSheetValid_ = false;
  }
  backColour_ = background;
  litColour_ = lit;
  unlitColour_ = unlit;
  update();
}

void CTickerPanel::FitColumns(int columns) {
  ticker_.FillMissingColumns(columns);
  resize(columns * columnPitch() + 4, height() + 4);
}

void CTickerPanel::FitRows(int rows) {
  ticker_.FillMissingRows(rows);
  resize(width() + 4, rows * rowPitch() + 4);
}

void CTickerPanel::SetPadding(bool autoPad, char padChar) { ticker_.SetPadding(autoPad, padChar); }

void CTickerPanel::StartScrolling(int periodMs, int direction) {
  if (running_) return;
  running_ = true;
  ticker_.SetDirection(direction);
  scrollTimer_.start(periodMs);
}

void CTickerPanel::StopScrolling() {
  if (!running_) return;
  scrollTimer_.stop();
  running_ = false;
}

void CTickerPanel::OnScrollTimer() {
  // Most ticks leave the picture as it was (a still panel, a row of blanks); those cost no paint.
  const std::string before = ticker_.text();
  if (ticker_.Step() && ticker_.text() != before) update();
}

const QPixmap& CTickerPanel::RecolouredSheet() {
  // Screens scaled by 1.5 and more take the sheet drawn at twice the size, as the layout picture
  // does: scaling the plain sheet by 1.5 would make every other dot a pixel wider.
  const bool wantDoubleSize = devicePixelRatioF() >= 1.5;
  if (sourceSheetLoaded_ && wantDoubleSize != sourceSheetDoubleSize_) sourceSheetLoaded_ = false;
  if (!sourceSheetLoaded_) {
    sourceSheet_ = QImage();
    if (!glyphSheet_.isEmpty() && wantDoubleSize) {
      sourceSheet_ = loadGlyphSheet_(
          QString(glyphSheet_).replace(QStringLiteral(".png"), QStringLiteral("@2x.png")));
    }
    if (!glyphSheet_.isEmpty() && sourceSheet_.isNull())
      sourceSheet_ = loadGlyphSheet_(glyphSheet_);
    sourceSheetLoaded_ = true;
    sourceSheetDoubleSize_ = wantDoubleSize;
    recolouredSheetValid_ = false;
  }
  if (!recolouredSheetValid_) {
    recolouredSheet_ = sourceSheet_.isNull()
                           ? QPixmap()
                           : SharedRecolouredSheet(sourceSheet_, backColour_.rgb(),
                                                   litColour_.rgb(), unlitColour_.rgb());
    recolouredSheetValid_ = true;
  }
  return recolouredSheet_;
}

void CTickerPanel::paintEvent(QPaintEvent* /*event*/) {
  if (ticker_.text().empty()) return;
  QPainter painter(this);
  painter.fillRect(rect(), backColour_);
  const QPixmap& sheet = RecolouredSheet();
  if (sheet.isNull()) return;
  // The sheet's pixels per logical pixel; only a screen scale between the sheets' resamples.
  const qreal sheetScale = sheet.devicePixelRatio();
  if (sheetScale != devicePixelRatioF()) painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const int pitchX = columnPitch();
  const int pitchY = rowPitch();
  for (const TickerCell& cell : ticker_.VisibleCells()) {
    if (cell.code < kFirstGlyphCode || cell.code > kLastGlyphCode) continue;
    const int x = cell.column * pitchX;
    if (x >= width()) continue;
    const int index = cell.code - kFirstGlyphCode;
    const QRectF source((index % kSheetColumns) * pitchX * sheetScale,
                        (index / kSheetColumns) * pitchY * sheetScale, pitchX * sheetScale,
                        pitchY * sheetScale);
    painter.drawPixmap(QRectF(x, cell.row * pitchY, pitchX, pitchY), sheet, source);
  }
}

}  // namespace wheelwatcher
