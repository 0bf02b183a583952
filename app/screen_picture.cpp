// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screen_picture.h"

#include <QGuiApplication>
#include <QIcon>

namespace wheelwatcher {

QPixmap LoadScreenPicture(const QString& resourcePath) {
  // Qt's own "@Nx" lookup rounds the ratio, so 1.5 already takes the @2x file; the reader sets the
  // picture's device pixel ratio from the file name.
  return QPixmap(qt_findAtNxFile(resourcePath, qApp->devicePixelRatio()));
}

}  // namespace wheelwatcher
