#include "app/layout_picture.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "app/region_code.h"

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
  layout_ = QPixmap(layoutPicture);
  hitMapPicture_ = hitMapPicture;
  hitMap_ = QImage();
  update();
}

void CLayoutPicture::LoadHitMap() {
  if (hitMap_.isNull() && !hitMapPicture_.isEmpty()) {
    hitMap_ = CompactHitMap(QImage(hitMapPicture_));
  }
}

void CLayoutPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, layout_);
  // The hit map is not needed for the picture: it is loaded once the paint has been shown.
  if (hitMap_.isNull()) QTimer::singleShot(0, this, &CLayoutPicture::LoadHitMap);
}

void CLayoutPicture::RecordColourAt(QPoint position) {
  LoadHitMap();  // a mouse event before the window was first idle
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
