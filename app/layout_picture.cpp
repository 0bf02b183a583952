// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout_picture.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

#include "app/screen_picture.h"
#include "engine/region_code.h"

namespace wheelwatcher {

namespace {

// The hit map holds a few dozen colours: as 8-bit indices into a table of exactly those colours it
// takes a quarter of the memory of a full-colour image and still reads back every pixel exactly.
// A picture with more than 256 colours stays in full colour.
QImage CompactHitMap(const QImage& picture) {
  const QImage fullColour = picture.convertToFormat(QImage::Format_RGB32);
  QImage indexed(fullColour.size(), QImage::Format_Indexed8);
  QList<QRgb> colours;
  QHash<QRgb, uchar> indexOf;
  for (int y = 0; y < fullColour.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(fullColour.constScanLine(y));
    uchar* target = indexed.scanLine(y);
    for (int x = 0; x < fullColour.width(); ++x) {
      // Areas are runs of one colour: most pixels repeat the one before.
      if (x > 0 && source[x] == source[x - 1]) {
        target[x] = target[x - 1];
        continue;
      }
      auto found = indexOf.constFind(source[x]);
      if (found == indexOf.cend()) {
        if (colours.size() == 256) return fullColour;
        found = indexOf.insert(source[x], static_cast<uchar>(colours.size()));
        colours.append(source[x]);
      }
      target[x] = *found;
    }
  }
  indexed.setColorTable(colours);
  return indexed;
}

}  // namespace

CLayoutPicture::CLayoutPicture(QWidget* parent) : QWidget(parent), recordedColour_(kNoColour) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CLayoutPicture::SetPictures(const QString& layoutPicture, const QString& hitMapPicture) {
  recordedColour_ = kNoColour;
  layout_ = LoadScreenPicture(layoutPicture);
  hitMapPicture_ = hitMapPicture;
  hitMap_ = QImage();
  regionRects_.clear();
  update();
}

void CLayoutPicture::LoadHitMap() const {
  if (hitMap_.isNull() && !hitMapPicture_.isEmpty()) {
    hitMap_ = CompactHitMap(QImage(hitMapPicture_));
  }
}

void CLayoutPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Only a screen scale between the pictures' (1.5 from @2x) resamples; smoothly, not by dropping
  // rows.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(0, 0, layout_);
  // The hit map is not needed for the picture: it is loaded once the paint has been shown.
  if (hitMap_.isNull()) QTimer::singleShot(0, this, &CLayoutPicture::LoadHitMap);
}

QPointF CLayoutPicture::PositionUnrounded(const QMouseEvent& event) const {
  // Qt hands a widget its position rounded to whole units; the position in the window is exact.
  return mapFrom(window(), event.scenePosition());
}

void CLayoutPicture::RecordColourAt(QPointF position) {
  LoadHitMap();  // a mouse event before the window was first idle
  recordedColour_ = kNoColour;
  // The pixel under the pointer. At display scales other than 1 a position falls between whole
  // pixels; rounding would read the neighbour to the right or below.
  const QPoint pixel(static_cast<int>(std::floor(position.x())),
                     static_cast<int>(std::floor(position.y())));
  if (hitMap_.valid(pixel)) {
    const QRgb colour = hitMap_.pixel(pixel);
    recordedColour_ = PackRgb(qRed(colour), qGreen(colour), qBlue(colour));
  }
}

const std::map<int, QRect>& CLayoutPicture::RegionRects() const {
  if (!regionRects_.empty()) return regionRects_;
  LoadHitMap();
  // Areas are runs of one colour: look a colour up only where it changes.
  QRgb lastColour = 0;
  int code = region::kNone;
  for (int y = 0; y < hitMap_.height(); ++y) {
    for (int x = 0; x < hitMap_.width(); ++x) {
      const QRgb pixel = hitMap_.pixel(x, y);
      if ((x == 0 && y == 0) || pixel != lastColour) {
        lastColour = pixel;
        code = RegionCodeForColour(PackRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
      }
      if (code == region::kNone) continue;
      QRect& area = regionRects_[code];
      area = area.isNull() ? QRect(x, y, 1, 1) : area.united(QRect(x, y, 1, 1));
    }
  }
  return regionRects_;
}

void CLayoutPicture::PressRegion(int regionCode) {
  for (const RegionColour& entry : kRegionColours) {
    if (entry.code != regionCode) continue;
    recordedColour_ = entry.packedColour;
    emit clicked();
    return;
  }
}

void CLayoutPicture::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();  // the right button opens the window's menu
    return;
  }
  RecordColourAt(PositionUnrounded(*event));
  emit clicked();
}

void CLayoutPicture::mouseMoveEvent(QMouseEvent* event) {
  RecordColourAt(PositionUnrounded(*event));
  emit colourRecorded();
}

// The second press of a double-click is not a click: a quick double press enters one spin.
void CLayoutPicture::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace wheelwatcher
