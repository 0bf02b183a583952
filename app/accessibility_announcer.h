// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include <map>

class QAccessibleInterface;

namespace wheelwatcher {

// What a screen reader says when the window changes by itself or after a press: one announcement
// for everything one event changed, made when that event is done. To assistive technology it is a
// notification that shows itself again with each announcement; Debian 12's Orca speaks a
// notification as it shows, while it drops the name changes of labels (and Qt 6.4 sends name and
// description changes in a form Orca cannot speak at all). Invisible and transparent to the mouse.
class AccessibleAnnouncer : public QWidget {
  Q_OBJECT
 public:
  explicit AccessibleAnnouncer(QWidget* parent);

  // Said first: what was pressed or typed, such as "17 black" or "REWIND".
  void SetLead(const QString& lead);
  // The newest text of one source (a panel); sources are said in ascending order, each once,
  // however often it changed meanwhile.
  void Note(int order, const QString& text);
  // Said on its own at once, for what changes no panel.
  void Say(const QString& text);

  // The last announcement, which is also what the notification reads.
  const QString& LastAnnouncement() const { return lastAnnouncement_; }

 signals:
  void announced(const QString& text);

 private:
  void Flush();
  void Show(const QString& text);

  QString lead_;
  std::map<int, QString> parts_;
  QString lastAnnouncement_;
  QTimer flushTimer_;
};

QAccessibleInterface* CreateAnnouncerAccessible(AccessibleAnnouncer* announcer);

}  // namespace wheelwatcher
