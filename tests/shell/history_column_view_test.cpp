#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "tests/support/main_window_driver.h"

namespace {

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
  // Pixels of a column's text colour in one row as painted.
  int TextPixelsInRow(int id, int row, QRgb textColour) {
    QAbstractItemView* view = Column(id);
    const QImage picture = view->viewport()->grab().toImage();
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    int count = 0;
    for (int y = cell.top(); y <= cell.bottom() && y < picture.height(); ++y) {
      for (int x = cell.left(); x <= cell.right(); ++x) {
        if (picture.pixel(x, y) == textColour) ++count;
      }
    }
    return count;
  }

  MainWindowDriver driver;
};

constexpr QRgb kRedText = qRgb(250, 40, 40);

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
  EXPECT_EQ(TextPixelsInRow(control::kRedColumn, 0, kRedText), 0);
  EXPECT_EQ(TextPixelsInRow(control::kRedColumn, 1, kRedText), 0);
  EXPECT_GT(TextPixelsInRow(control::kRedColumn, 2, kRedText), 0);
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
