// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "app/layout_picture.h"
#include "engine/region_code.h"

namespace wheelwatcher {

namespace {

// Every pixel the mouse can reach must give back its colour in the picture exactly, whatever form
// the control keeps the hit map in: the program's own hit map (a few dozen colours) and a picture
// with more colours than a 256-entry table holds.
TEST(LayoutPictureTest, RecordsTheExactHitMapColourUnderEveryPixel) {
  QTemporaryDir folder;
  QImage manyColours(280, 560, QImage::Format_RGB32);
  for (int y = 0; y < manyColours.height(); ++y) {
    for (int x = 0; x < manyColours.width(); ++x)
      manyColours.setPixel(x, y, qRgb(x, y % 256, y / 3));
  }
  const QString manyColoursFile = folder.filePath(QStringLiteral("many.png"));
  ASSERT_TRUE(manyColours.save(manyColoursFile));

  for (const QString& hitMapFile : {QStringLiteral(":/hitmap.png"), manyColoursFile}) {
    SCOPED_TRACE(hitMapFile.toStdString());
    const QImage expected(hitMapFile);
    ASSERT_FALSE(expected.isNull());
    CLayoutPicture picture;
    picture.resize(expected.size());
    picture.SetPictures(QStringLiteral(":/layout.png"), hitMapFile);
    int wrong = 0;
    for (int y = 0; y < expected.height(); ++y) {
      for (int x = 0; x < expected.width(); ++x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), QPointF(x, y), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&picture, &move);
        const QRgb pixel = expected.pixel(x, y);
        wrong += picture.RecordedColour() != PackRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
      }
    }
    EXPECT_EQ(wrong, 0);
    // Just outside the picture there is no colour.
    QMouseEvent outside(QEvent::MouseMove, QPointF(280, 10), QPointF(280, 10), Qt::NoButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&picture, &outside);
    EXPECT_EQ(picture.RecordedColour(), kNoColour);
  }
}

}  // namespace

}  // namespace wheelwatcher
