// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include "app/accessibility_announcer.h"
#include "app/history_column_accessible.h"
#include "app/history_column_view.h"
#include "app/layout_picture.h"
#include "app/layout_picture_accessible.h"
#include "app/main_dialog.h"
#include "panels/ticker_panel.h"
#include "panels/ticker_panel_accessible.h"

namespace wheelwatcher {

namespace {

// The main window without its pictures laid over the layout: the highlights repeat what the
// advice says and the button faces what the layout's buttons say, so they would only be unnamed
// images in the way.
class MainWindowAccessible : public QAccessibleWidget {
 public:
  explicit MainWindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

  // The caption without its blink: "Updating.." and "Updating" while an update check runs are one
  // name, so that a screen reader has nothing new to say every half second.
  QString text(QAccessible::Text type) const override {
    if (type != QAccessible::Name) return QAccessibleWidget::text(type);
    QString caption = widget()->windowTitle().trimmed();
    while (caption.endsWith(QLatin1Char('.'))) caption.chop(1);
    return caption;
  }

  int childCount() const override { return static_cast<int>(Readable().size()); }

  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> readable = Readable();
    return index >= 0 && index < readable.size()
               ? QAccessible::queryAccessibleInterface(readable[index])
               : nullptr;
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    return child ? static_cast<int>(Readable().indexOf(qobject_cast<QWidget*>(child->object())))
                 : -1;
  }

 private:
  QList<QWidget*> Readable() const {
    QList<QWidget*> readable;
    for (QObject* child : widget()->children()) {
      auto* control = qobject_cast<QWidget*>(child);
      if (control && !control->isWindow() && !qobject_cast<QLabel*>(control)) {
        readable.append(control);
      }
    }
    return readable;
  }
};

QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
  if (className == QLatin1String(CTickerPanel::staticMetaObject.className())) {
    return new TickerPanelAccessible(static_cast<CTickerPanel*>(object));
  }
  if (className == QLatin1String(CLayoutPicture::staticMetaObject.className())) {
    return new LayoutPictureAccessible(static_cast<CLayoutPicture*>(object));
  }
  if (className == QLatin1String(HistoryColumnView::staticMetaObject.className())) {
    return new HistoryColumnAccessible(static_cast<HistoryColumnView*>(object));
  }
  if (className == QLatin1String(AccessibleAnnouncer::staticMetaObject.className())) {
    return CreateAnnouncerAccessible(static_cast<AccessibleAnnouncer*>(object));
  }
  if (className == QLatin1String(CMainDialog::staticMetaObject.className())) {
    return new MainWindowAccessible(static_cast<CMainDialog*>(object));
  }
  return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
  static const bool installed = [] {
    QAccessible::installFactory(CreateInterface);
    return true;
  }();
  (void)installed;
}

}  // namespace wheelwatcher
