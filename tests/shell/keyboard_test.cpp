// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <vector>

#include "app/accessibility_announcer.h"
#include "resources/strings.h"
#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

// The keys reach the window as a player's would: through its platform window to the focus.
class KeyboardTest : public ::testing::Test {
 protected:
  void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(driver_.Window().windowHandle(), key, modifiers);
  }
  const std::vector<int>& Spins() { return driver_.Tracker().State().spins; }
  QString LastAnnouncement() {
    QApplication::processEvents();
    return driver_.Window().findChild<AccessibleAnnouncer*>()->LastAnnouncement();
  }

  MainWindowDriver driver_;
};

TEST_F(KeyboardTest, TypedNumbersAreEnteredAsPressesAndNothingElseIs) {
  ASSERT_TRUE(driver_.Exposed());
  Type(Qt::Key_1);
  Type(Qt::Key_7);
  EXPECT_EQ(Spins(), std::vector<int>{17});
  EXPECT_TRUE(LastAnnouncement().startsWith("17 black. SPIN 1. BANK $"))
      << LastAnnouncement().toStdString();

  // A lone digit waits for the pause.
  QElapsedTimer sinceTyped;
  sinceTyped.start();
  Type(Qt::Key_3);
  EXPECT_EQ(Spins(), std::vector<int>{17});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Spins().size() == 2; }, 5000));
  EXPECT_GE(sinceTyped.elapsed(), TypedNumberEntry::kPause.count() - 50);
  EXPECT_EQ(Spins(), (std::vector<int>{17, 3}));

  Type(Qt::Key_2);
  Type(Qt::Key_Enter);  // ends the number at once
  EXPECT_EQ(Spins(), (std::vector<int>{17, 3, 2}));

  Type(Qt::Key_4);
  Type(Qt::Key_5);
  EXPECT_EQ(LastAnnouncement(), "No number 45");
  Type(Qt::Key_9);
  Type(Qt::Key_Backspace);  // takes back the digit, not a spin
  Type(Qt::Key_Escape);
  QTest::qWait(static_cast<int>(TypedNumberEntry::kPause.count()) + 300);
  EXPECT_EQ(Spins(), (std::vector<int>{17, 3, 2}));

  Type(Qt::Key_Backspace);  // REWIND
  EXPECT_EQ(Spins(), (std::vector<int>{17, 3}));
  EXPECT_TRUE(LastAnnouncement().startsWith("REWIND. SPIN 2.")) << LastAnnouncement().toStdString();

  // Digits with Control or Alt are someone else's shortcut; Shift is how some layouts type them.
  Type(Qt::Key_1, Qt::ControlModifier);
  Type(Qt::Key_2, Qt::AltModifier);
  Type(Qt::Key_Return);
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) Type(key);
  EXPECT_EQ(Spins(), (std::vector<int>{17, 3}));
  EXPECT_TRUE(driver_.Window().isVisible());
  Type(Qt::Key_2, Qt::ShiftModifier);
  Type(Qt::Key_9, Qt::ShiftModifier);
  EXPECT_EQ(Spins(), (std::vector<int>{17, 3, 29}));
}

// The Menu key is turned into a context menu by the X11 platform itself, which the desktop test
// presses; offscreen there is Shift+F10.
TEST_F(KeyboardTest, ShiftF10OpensTheWindowMenu) {
  ASSERT_TRUE(driver_.Exposed());
  QStringList items;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* action : menu->actions()) items << action->text();
      menu->close();
    }
  });
  closer.start(20);
  Type(Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !items.isEmpty(); }, 3000));
  EXPECT_TRUE(items.contains(QString::fromLatin1(kStatisticsMenuText)) &&
              items.contains(QString::fromLatin1(kAboutMenuText)) && items.contains("&Close"))
      << items.join('|').toStdString();
  items.clear();
  Type(Qt::Key_F10);  // F10 alone is not the menu
  QTest::qWait(200);
  EXPECT_TRUE(items.isEmpty());
}

}  // namespace

}  // namespace wheelwatcher
