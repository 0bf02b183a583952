// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_dialog.h"

#include <QKeyEvent>
#include <QLabel>

#include "app/screen_picture.h"

namespace wheelwatcher {

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Wheelwatcher"));
  auto* picture = new QLabel(this);
  picture->setPixmap(LoadScreenPicture(QStringLiteral(":/about.png")));
  // What the picture says, for a screen reader.
  picture->setAccessibleName(QStringLiteral("Wheelwatcher " WHEELWATCHER_VERSION_TEXT));
  picture->setAccessibleDescription(QStringLiteral("roulette spin tracker"));
  picture->setGeometry(0, 0, 350, 100);
  setFixedSize(350, 100);
}

void CAboutDialog::keyPressEvent(QKeyEvent* event) {
  // A dialog without buttons has no default button, so Enter must end it by hand.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace wheelwatcher
