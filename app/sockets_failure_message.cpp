// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sockets_failure_message.h"

#include <QGuiApplication>
#include <QMessageBox>

#include "resources/strings.h"

namespace wheelwatcher {

void ShowSocketsFailureMessage() {
  QMessageBox failure(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                      QString::fromLatin1(kSocketsFailedText), QMessageBox::Ok);
  failure.exec();
}

}  // namespace wheelwatcher
