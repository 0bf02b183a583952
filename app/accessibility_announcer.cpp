// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/accessibility_announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace wheelwatcher {

namespace {

class AnnouncerAccessible : public QAccessibleWidget {
 public:
  explicit AnnouncerAccessible(AccessibleAnnouncer* announcer)
      : QAccessibleWidget(announcer, QAccessible::Notification) {}

  QString text(QAccessible::Text type) const override {
    if (type != QAccessible::Name) return {};
    return static_cast<AccessibleAnnouncer*>(widget())->LastAnnouncement();
  }
};

// Parts are joined as sentences; a panel's text may end in a full stop already.
void AppendSentence(QString& announcement, const QString& part) {
  if (part.isEmpty()) return;
  if (!announcement.isEmpty()) {
    if (!announcement.endsWith(QLatin1Char('.'))) announcement += QLatin1Char('.');
    announcement += QLatin1Char(' ');
  }
  announcement += part;
}

}  // namespace

AccessibleAnnouncer::AccessibleAnnouncer(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  // It draws nothing; one pixel at the corner, so that it counts as showing.
  setGeometry(0, 0, 1, 1);
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(0);
  connect(&flushTimer_, &QTimer::timeout, this, &AccessibleAnnouncer::Flush);
}

void AccessibleAnnouncer::SetLead(const QString& lead) {
  lead_ = lead;
  flushTimer_.start();
}

void AccessibleAnnouncer::Note(int order, const QString& text) {
  parts_[order] = text;
  flushTimer_.start();
}

void AccessibleAnnouncer::Say(const QString& text) {
  Flush();
  Show(text);
}

void AccessibleAnnouncer::Flush() {
  flushTimer_.stop();
  // A press that changed nothing on the screen says nothing either.
  if (parts_.empty()) {
    lead_.clear();
    return;
  }
  QString announcement = lead_;
  for (const auto& [order, part] : parts_) AppendSentence(announcement, part);
  lead_.clear();
  parts_.clear();
  Show(announcement);
}

void AccessibleAnnouncer::Show(const QString& text) {
  if (text.isEmpty()) return;
  lastAnnouncement_ = text;
  // Showing again is what a screen reader hears; hidden first, so every announcement shows anew.
  // Without assistive technology nobody listens, and the window is left alone.
  if (QAccessible::isActive()) {
    hide();
    show();
  }
  emit announced(text);
}

QAccessibleInterface* CreateAnnouncerAccessible(AccessibleAnnouncer* announcer) {
  return new AnnouncerAccessible(announcer);
}

}  // namespace wheelwatcher
