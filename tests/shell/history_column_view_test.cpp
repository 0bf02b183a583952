// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <cstdlib>
#include <functional>
#include <vector>

#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

// Smoothing may leave the fullest pixel of a glyph a step short of the text colour.
int ColourDistance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
         std::abs(qBlue(a) - qBlue(b));
}

class HistoryColumnViewTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(driver.Exposed()); }

  QAbstractItemView* Column(int id) {
    return static_cast<QAbstractItemView*>(driver.Window().Control(id));
  }
  int TopRow(int id) { return Column(id)->indexAt(QPoint(5, 1)).row(); }
  void Enter(std::initializer_list<int> numbers) {
    for (int number : numbers) driver.DeliverPress(number);
    QCoreApplication::processEvents();
  }
  void WheelDownOneNotch(int id) {
    QWidget* viewport = Column(id)->viewport();
    QWheelEvent wheel(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
  }
  // The pixels of one row as painted that are not the black background: the text, smoothed.
  std::vector<std::pair<QPoint, QRgb>> TextPixelsInRow(int id, int row) {
    QAbstractItemView* view = Column(id);
    const QImage picture = view->viewport()->grab().toImage();
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    std::vector<std::pair<QPoint, QRgb>> pixels;
    for (int y = cell.top(); y <= cell.bottom() && y < picture.height(); ++y) {
      for (int x = cell.left(); x <= cell.right(); ++x) {
        const QRgb pixel = picture.pixel(x, y);
        if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 60)
          pixels.emplace_back(QPoint(x, y), pixel);
      }
    }
    return pixels;
  }
  int LeftmostTextPixel(int id, int row) {
    int left = -1;
    for (const auto& [where, colour] : TextPixelsInRow(id, row)) {
      if (left < 0 || where.x() < left) left = where.x();
    }
    return left;
  }
  // The fullest pixel of the text: its own colour where a stroke covers a whole pixel.
  QRgb TextColourInRow(int id, int row) {
    QRgb fullest = 0;
    for (const auto& [where, colour] : TextPixelsInRow(id, row)) {
      if (qRed(colour) + qGreen(colour) + qBlue(colour) >
          qRed(fullest) + qGreen(fullest) + qBlue(fullest))
        fullest = colour;
    }
    return fullest & 0xFFFFFF;
  }

  MainWindowDriver driver;
};

TEST_F(HistoryColumnViewTest, RowsStackFromTheTopOneRowHeightApart) {
  Enter({32, 26, 0});
  QAbstractItemView* red = Column(control::kRedColumn);
  const QRect first = red->visualRect(red->model()->index(0, 0));
  const QRect third = red->visualRect(red->model()->index(2, 0));
  EXPECT_EQ(first.top(), 0);
  EXPECT_GT(first.height(), 5);
  EXPECT_EQ(third.top(), 2 * first.height());
  EXPECT_EQ(red->indexAt(third.center()).row(), 2);
  EXPECT_FALSE(red->indexAt(QPoint(5, 3 * first.height() + 1)).isValid());
  // Only the row of the red spin carries red text: the newest spin (0) is on top.
  EXPECT_TRUE(TextPixelsInRow(control::kRedColumn, 0).empty());
  EXPECT_TRUE(TextPixelsInRow(control::kRedColumn, 1).empty());
  EXPECT_LE(ColourDistance(TextColourInRow(control::kRedColumn, 2), 0xFA2828), 6);
}

// Plain list boxes at their places, in their colours on black, text at the left of the cell.
TEST_F(HistoryColumnViewTest, ColumnsSitInPlaceWithTheirColoursAndLeftAlignedText) {
  const struct {
    int id;
    QRect place;
    QRgb textColour;  // red in the high byte
    int oneDigit;
    int twoDigits;
  } columns[] = {{control::kRedColumn, QRect(196, 70, 22, 265), 0xFA2828, 3, 36},
                 {control::kZeroColumn, QRect(226, 70, 22, 265), 0x0AFA0A, 0, 0},
                 {control::kBlackColumn, QRect(252, 70, 22, 265), 0xD5D500, 2, 35}};
  for (const auto& column : columns) {
    SCOPED_TRACE(column.id);
    EXPECT_EQ(Column(column.id)->geometry(), column.place);
    Enter({column.oneDigit, column.twoDigits});
    EXPECT_LE(ColourDistance(TextColourInRow(column.id, 0), column.textColour), 6);
    const int oneDigitLeft = LeftmostTextPixel(column.id, 1);
    EXPECT_GE(oneDigitLeft, 0);
    EXPECT_LE(oneDigitLeft, 3);
    EXPECT_EQ(oneDigitLeft, LeftmostTextPixel(column.id, 0));
    const QImage picture = Column(column.id)->viewport()->grab().toImage();
    EXPECT_EQ(picture.pixel(picture.width() - 1, picture.height() - 1), qRgb(0, 0, 0));
  }
}

TEST_F(HistoryColumnViewTest, WheelScrollsByRowsAndNewSpinsPushTheRowsDown) {
  for (int i = 0; i < 40; ++i) driver.DeliverPress(i % 37);
  QCoreApplication::processEvents();
  EXPECT_EQ(TopRow(control::kRedColumn), 0);
  WheelDownOneNotch(control::kRedColumn);
  const int scrolledTop = TopRow(control::kRedColumn);
  EXPECT_EQ(scrolledTop, QApplication::wheelScrollLines());
  EXPECT_EQ(TopRow(control::kBlackColumn), 0) << "each column scrolls on its own";
  // A new spin becomes row 0 above the rows in sight, which stay where they are.
  Enter({5});
  EXPECT_EQ(TopRow(control::kRedColumn), scrolledTop);
}

// Cells are copied from pictures kept per text: what shows must be what the delegate draws in
// place, also after the font changed under the kept pictures (in weight only, or in size too).
TEST_F(HistoryColumnViewTest, KeptCellPicturesMatchTheDelegatesDrawingAndFollowTheFont) {
  QAbstractItemView* red = Column(control::kRedColumn);
  const auto optionFor = [red](const QModelIndex& index) {
    QStyleOptionViewItem option;
    option.initFrom(red);
    option.font = red->font();
    option.rect = red->visualRect(index);
    return option;
  };
  const auto drawnInPlace = [red, &optionFor] {
    QPixmap picture(red->viewport()->size());  // a pixmap: the screen's resolution, as a widget's
    picture.fill(Qt::black);
    QPainter painter(&picture);
    for (int row = 0; row < red->model()->rowCount(); ++row) {
      const QModelIndex index = red->model()->index(row, 0);
      red->itemDelegateForIndex(index)->paint(&painter, optionFor(index), index);
    }
    painter.end();
    return picture.toImage().convertToFormat(QImage::Format_RGB32);
  };
  const std::function<void(QFont&)> fontChanges[] = {
      [](QFont&) {}, [](QFont& font) { font.setBold(true); },
      [](QFont& font) { font.setPointSize(15); }};
  for (const auto& change : fontChanges) {
    QFont font = red->font();
    change(font);
    red->setFont(font);
    Enter({3, 36, 0, 3, 12});
    const QModelIndex top = red->model()->index(0, 0);
    EXPECT_EQ(red->visualRect(top).height(),
              red->itemDelegateForIndex(top)->sizeHint(optionFor(top), top).height());
    EXPECT_EQ(red->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32),
              drawnInPlace())
        << font.toString().toStdString();
  }
}

TEST_F(HistoryColumnViewTest, LongHistoryScrollsToItsOldestRow) {
  constexpr int kSpins = 20000;
  for (int i = 0; i < kSpins; ++i) driver.DeliverPress(i % 37);
  QCoreApplication::processEvents();
  QAbstractItemView* zero = Column(control::kZeroColumn);
  ASSERT_EQ(zero->model()->rowCount(), kSpins);
  // Wheeled to the end as a player would, the oldest row lies wholly in sight: a range one row
  // short would leave it cut off at the bottom.
  for (int notch = 0; notch <= kSpins / QApplication::wheelScrollLines(); ++notch) {
    WheelDownOneNotch(control::kZeroColumn);
  }
  const QRect oldest = zero->visualRect(zero->model()->index(kSpins - 1, 0));
  EXPECT_TRUE(zero->viewport()->rect().contains(oldest)) << oldest.bottom();
  EXPECT_EQ(zero->indexAt(oldest.center()).row(), kSpins - 1);
  zero->scrollToTop();
  EXPECT_EQ(TopRow(control::kZeroColumn), 0);
}

}  // namespace

}  // namespace wheelwatcher
