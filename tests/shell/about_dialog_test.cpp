// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "app/about_dialog.h"

namespace wheelwatcher {

TEST(AboutDialog, ShowsItsPictureAndEndsWithEnterOrEscape) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    CAboutDialog about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.windowTitle(), "About Wheelwatcher");
    const QLabel* picture = about.findChild<QLabel*>();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(350, 100));
    QTest::keyClick(&about, key);
    EXPECT_FALSE(about.isVisible()) << key;
  }
}

}  // namespace wheelwatcher
