// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/history_column_accessible.h"

#include <QWindow>

#include "app/history_column_view.h"

namespace wheelwatcher {

namespace {

int RowCount(const HistoryColumnView* view) {
  return view && view->model() ? view->model()->rowCount() : 0;
}

}  // namespace

HistoryColumnAccessible::HistoryColumnAccessible(HistoryColumnView* view)
    : QAccessibleWidget(view, QAccessible::List) {
  QAbstractItemModel* model = view->model();
  // Removed rows are told about while they are still there: the bridge asks about them once more.
  connections_ << QObject::connect(model, &QAbstractItemModel::rowsInserted, view,
                                   [this](const QModelIndex&, int first, int last) {
                                     // Without a listener, no item is made just to be told of.
                                     if (!QAccessible::isActive()) return;
                                     for (int row = last; row >= first; --row) {
                                       QAccessibleEvent created(ItemForSpin(SpinOfRow(row)),
                                                                QAccessible::ObjectCreated);
                                       QAccessible::updateAccessibility(&created);
                                     }
                                   })
               << QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, view,
                                   [this](const QModelIndex&, int first, int last) {
                                     ForgetSpins(SpinOfRow(last), SpinOfRow(first));
                                   })
               << QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, view,
                                   [this] { ForgetSpins(0, childCount() - 1); });
}

HistoryColumnAccessible::~HistoryColumnAccessible() {
  for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
  for (const QAccessible::Id id : itemIds_) {
    if (id != 0) QAccessible::deleteAccessibleInterface(id);
  }
}

void HistoryColumnAccessible::ForgetSpins(int firstSpin, int lastSpin) {
  for (int spin = firstSpin; spin <= lastSpin; ++spin) {
    if (static_cast<std::size_t>(spin) >= itemIds_.size()) break;
    QAccessible::Id& id = itemIds_[static_cast<std::size_t>(spin)];
    if (id == 0) continue;
    QAccessibleEvent destroyed(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
    QAccessible::updateAccessibility(&destroyed);
    QAccessible::deleteAccessibleInterface(id);
    id = 0;
  }
  if (firstSpin >= 0 && static_cast<std::size_t>(firstSpin) < itemIds_.size()) {
    itemIds_.resize(static_cast<std::size_t>(firstSpin));
  }
}

QAccessibleInterface* HistoryColumnAccessible::ItemForSpin(int spin) const {
  if (spin < 0) return nullptr;
  const auto index = static_cast<std::size_t>(spin);
  if (index >= itemIds_.size()) itemIds_.resize(index + 1, 0);
  if (itemIds_[index] == 0) {
    itemIds_[index] = QAccessible::registerAccessibleInterface(
        new HistoryItemAccessible(static_cast<HistoryColumnView*>(widget()), spin));
  }
  return QAccessible::accessibleInterface(itemIds_[index]);
}

int HistoryColumnAccessible::childCount() const {
  return RowCount(static_cast<HistoryColumnView*>(widget()));
}

int HistoryColumnAccessible::SpinOfRow(int row) const { return childCount() - 1 - row; }

QAccessibleInterface* HistoryColumnAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  return ItemForSpin(SpinOfRow(index));
}

int HistoryColumnAccessible::indexOfChild(const QAccessibleInterface* child) const {
  if (!child || child->role() != QAccessible::ListItem || !child->isValid() ||
      child->parent() != this) {
    return -1;
  }
  return static_cast<const HistoryItemAccessible*>(child)->Row();
}

QAccessibleInterface* HistoryColumnAccessible::childAt(int x, int y) const {
  const auto* view = static_cast<HistoryColumnView*>(widget());
  const QModelIndex index = view->indexAt(view->viewport()->mapFromGlobal(QPoint(x, y)));
  return index.isValid() ? child(index.row()) : nullptr;
}

HistoryItemAccessible::HistoryItemAccessible(HistoryColumnView* view, int spin)
    : view_(view), spin_(spin) {}

int HistoryItemAccessible::Row() const { return RowCount(view_) - 1 - spin_; }

bool HistoryItemAccessible::isValid() const { return view_ && spin_ < RowCount(view_); }

QObject* HistoryItemAccessible::object() const { return nullptr; }

QWindow* HistoryItemAccessible::window() const {
  return view_ ? view_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* HistoryItemAccessible::parent() const {
  return QAccessible::queryAccessibleInterface(view_);
}

QAccessibleInterface* HistoryItemAccessible::child(int /*index*/) const { return nullptr; }

int HistoryItemAccessible::childCount() const { return 0; }

int HistoryItemAccessible::indexOfChild(const QAccessibleInterface* /*child*/) const { return -1; }

QAccessibleInterface* HistoryItemAccessible::childAt(int /*x*/, int /*y*/) const { return nullptr; }

QString HistoryItemAccessible::text(QAccessible::Text type) const {
  if (type != QAccessible::Name || !isValid()) return {};
  return view_->model()->index(Row(), 0).data(Qt::DisplayRole).toString();
}

void HistoryItemAccessible::setText(QAccessible::Text /*type*/, const QString& /*text*/) {}

QRect HistoryItemAccessible::rect() const {
  if (!isValid()) return {};
  const QRect place = view_->visualRect(view_->model()->index(Row(), 0));
  return QRect(view_->viewport()->mapToGlobal(place.topLeft()), place.size());
}

QAccessible::Role HistoryItemAccessible::role() const { return QAccessible::ListItem; }

QAccessible::State HistoryItemAccessible::state() const {
  QAccessible::State state;
  state.readOnly = true;
  if (!isValid() || !view_->isVisible()) {
    state.invisible = true;
  } else if (!view_->viewport()->rect().intersects(
                 view_->visualRect(view_->model()->index(Row(), 0)))) {
    state.offscreen = true;  // older rows lie below the column's foot
  }
  return state;
}

}  // namespace wheelwatcher
