// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/sockets_failure_message.h"

namespace wheelwatcher {

TEST(SocketsFailureMessage, SaysSoWithOnlyAnOkButtonAndEndsOnReturn) {
  QString text;
  QStringList buttons;
  bool iconShown = true;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      ADD_FAILURE() << "no message box";
      QApplication::closeAllWindows();
      return;
    }
    text = box->text();
    for (QAbstractButton* button : box->buttons()) buttons << button->text();
    iconShown = box->icon() != QMessageBox::NoIcon;
    QTest::keyClick(box, Qt::Key_Return);
  });
  ShowSocketsFailureMessage();  // returns once answered
  EXPECT_EQ(text, "Windows sockets initialization failed.");
  EXPECT_EQ(buttons, QStringList{"OK"});
  EXPECT_FALSE(iconShown);
}

}  // namespace wheelwatcher
