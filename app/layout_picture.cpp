#include "app/layout_picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "engine/region_code.h"

CLayoutPicture::CLayoutPicture(QWidget* parent) : QWidget(parent), recordedColour_(kNoColour) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CLayoutPicture::SetPictures(const QString& layoutPicture, const QString& hitMapPicture) {
  recordedColour_ = kNoColour;
  layout_ = QPixmap(layoutPicture);
  hitMap_ = QImage(hitMapPicture);
  update();
}

void CLayoutPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, layout_);
}

void CLayoutPicture::RecordColourAt(QPoint position) {
  recordedColour_ = kNoColour;
  if (hitMap_.valid(position)) {
    const QRgb pixel = hitMap_.pixel(position);
    recordedColour_ = PackRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
  }
}

const std::map<int, QRect>& CLayoutPicture::RegionRects() const {
  if (!regionRects_.empty()) return regionRects_;
  for (int y = 0; y < hitMap_.height(); ++y) {
    for (int x = 0; x < hitMap_.width(); ++x) {
      const QRgb pixel = hitMap_.pixel(x, y);
      const int code = RegionCodeForColour(PackRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
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
  RecordColourAt(event->position().toPoint());
  emit clicked();
}

void CLayoutPicture::mouseMoveEvent(QMouseEvent* event) {
  RecordColourAt(event->position().toPoint());
  emit colourRecorded();
}

// The second press of a double-click is not a click: a quick double press enters one spin.
void CLayoutPicture::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
