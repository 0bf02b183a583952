// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QList>
#include <QPointer>

#include <vector>

namespace wheelwatcher {

class HistoryColumnView;

// A History column to assistive technology: a list whose items are its rows, newest first, each
// named by its cell (the number, or nothing when the spin was of another colour). Rows come and
// go only at the top, so an item stands for one spin and keeps its identity while newer spins
// push it down.
class HistoryColumnAccessible : public QAccessibleWidget {
 public:
  explicit HistoryColumnAccessible(HistoryColumnView* view);
  ~HistoryColumnAccessible() override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

 private:
  // Spins are counted from the oldest (0); rows from the newest.
  int SpinOfRow(int row) const;
  QAccessibleInterface* ItemForSpin(int spin) const;
  void ForgetSpins(int firstSpin, int lastSpin);

  mutable std::vector<QAccessible::Id> itemIds_;  // by spin; 0 where none was asked for yet
  QList<QMetaObject::Connection> connections_;
};

class HistoryItemAccessible : public QAccessibleInterface {
 public:
  HistoryItemAccessible(HistoryColumnView* view, int spin);

  bool isValid() const override;
  QObject* object() const override;
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QString text(QAccessible::Text type) const override;
  void setText(QAccessible::Text type, const QString& text) override;
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;

  int Row() const;

 private:
  QPointer<HistoryColumnView> view_;
  int spin_;
};

}  // namespace wheelwatcher
