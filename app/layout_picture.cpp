#include "app/layout_picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/region_code.h"
#include "app/screen_picture.h"

CLayoutPicture::CLayoutPicture(QWidget* parent) : QWidget(parent), recordedColour_(kNoColour) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CLayoutPicture::SetPictures(const QString& layoutPicture, const QString& hitMapPicture) {
  recordedColour_ = kNoColour;
  layout_ = LoadScreenPicture(layoutPicture);
  hitMap_ = QImage(hitMapPicture);
  update();
}

void CLayoutPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Only a screen scale between the pictures' (1.5 from @2x) resamples; smoothly, not by dropping
  // rows.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(0, 0, layout_);
}

void CLayoutPicture::RecordColourAt(QPoint position) {
  recordedColour_ = kNoColour;
  if (hitMap_.valid(position)) {
    const QRgb pixel = hitMap_.pixel(position);
    recordedColour_ = PackRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
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
