// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/after_first_paint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace wheelwatcher {

namespace {

// Watches the whole application, because the window's own paint may be wholly covered by opaque
// children that are painted instead.
class FirstPaintWatcher : public QObject {
 public:
  FirstPaintWatcher(QWidget& window, std::function<void()> action)
      : QObject(&window), window_(window), action_(std::move(action)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      QCoreApplication::instance()->removeEventFilter(this);
      QTimer::singleShot(0, &window_, std::move(action_));
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& window_;
  std::function<void()> action_;
};

}  // namespace

void RunAfterFirstPaint(QWidget& window, std::function<void()> action) {
  new FirstPaintWatcher(window, std::move(action));
}

}  // namespace wheelwatcher
