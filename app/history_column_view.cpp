// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/history_column_view.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace wheelwatcher {

HistoryColumnModel::HistoryColumnModel(const SpinTracker& tracker, HistoryColumn column,
                                       QColor textColour, QObject* parent)
    : QAbstractListModel(parent), tracker_(tracker), column_(column), textColour_(textColour) {}

int HistoryColumnModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant HistoryColumnModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(
          tracker_.HistoryCellText(static_cast<std::size_t>(index.row()), column_));
    case Qt::ForegroundRole:
      return textColour_;
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);  // as a plain list box shows it
    default:
      return {};
  }
}

void HistoryColumnModel::RowAdded() {
  beginInsertRows(QModelIndex(), 0, 0);
  ++rows_;
  endInsertRows();
}

void HistoryColumnModel::NewestRowRemoved() {
  if (rows_ == 0) return;
  beginRemoveRows(QModelIndex(), 0, 0);
  --rows_;
  endRemoveRows();
}

void HistoryColumnModel::Cleared() {
  beginResetModel();
  rows_ = 0;
  endResetModel();
}

void HistoryColumnModel::Refilled() {
  beginResetModel();
  rows_ = static_cast<int>(tracker_.HistoryRowCount());
  endResetModel();
}

HistoryColumnView::HistoryColumnView(HistoryColumnModel* model, QWidget* parent)
    : QAbstractItemView(parent) {
  setModel(model);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setAutoScroll(false);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::black);
  colours.setColor(QPalette::Window, Qt::black);
  setPalette(colours);
  viewport()->setAutoFillBackground(true);
  connect(model, &QAbstractItemModel::rowsInserted, this, &HistoryColumnView::RowsChanged);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &HistoryColumnView::RowsChanged);
  connect(model, &QAbstractItemModel::modelReset, this, &HistoryColumnView::RowsChanged);
}

int HistoryColumnView::RowCount() const { return model() ? model()->rowCount() : 0; }

int HistoryColumnView::RowHeight() const {
  if (RowCount() == 0) return 1;
  if (rowHeight_ == 0) {
    // Every row is one line of the same font: the first row's height is every row's.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex first = model()->index(0, 0);
    rowHeight_ = std::max(1, itemDelegateForIndex(first)->sizeHint(option, first).height());
  }
  return rowHeight_;
}

QRect HistoryColumnView::visualRect(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  const int height = RowHeight();
  return QRect(0, (index.row() - verticalOffset()) * height, viewport()->width(), height);
}

void HistoryColumnView::scrollTo(const QModelIndex& index, ScrollHint /*hint*/) {
  if (!index.isValid()) return;
  const int visibleRows = std::max(1, viewport()->height() / RowHeight());
  const int top = verticalOffset();
  if (index.row() < top) {
    verticalScrollBar()->setValue(index.row());
  } else if (index.row() >= top + visibleRows) {
    verticalScrollBar()->setValue(index.row() - visibleRows + 1);
  }
}

QModelIndex HistoryColumnView::indexAt(const QPoint& point) const {
  if (!viewport()->rect().contains(point)) return {};
  const int row = verticalOffset() + point.y() / RowHeight();
  return row < RowCount() ? model()->index(row, 0) : QModelIndex();
}

QModelIndex HistoryColumnView::moveCursor(CursorAction /*cursorAction*/,
                                          Qt::KeyboardModifiers /*modifiers*/) {
  return {};  // the columns take no keyboard focus
}

int HistoryColumnView::horizontalOffset() const { return 0; }

int HistoryColumnView::verticalOffset() const { return verticalScrollBar()->value(); }

bool HistoryColumnView::isIndexHidden(const QModelIndex& /*index*/) const { return false; }

void HistoryColumnView::setSelection(const QRect& /*rect*/,
                                     QItemSelectionModel::SelectionFlags /*command*/) {}

QRegion HistoryColumnView::visualRegionForSelection(const QItemSelection& /*selection*/) const {
  return {};
}

void HistoryColumnView::updateGeometries() {
  const int visibleRows = viewport()->height() / RowHeight();
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setPageStep(std::max(1, visibleRows));
  verticalScrollBar()->setRange(0, std::max(0, RowCount() - visibleRows));
  QAbstractItemView::updateGeometries();
}

void HistoryColumnView::scrollContentsBy(int /*dx*/, int /*dy*/) { viewport()->update(); }

void HistoryColumnView::RowsChanged() {
  updateGeometries();
  viewport()->update();
}

const QPixmap& HistoryColumnView::CellPicture(const QModelIndex& index,
                                              const QStyleOptionViewItem& option) {
  const qreal ratio = viewport()->devicePixelRatioF();
  const QString text = index.data(Qt::DisplayRole).toString();
  auto kept = cellPictures_.find(text);
  if (kept != cellPictures_.end() && kept->deviceIndependentSize().toSize() == option.rect.size() &&
      kept->devicePixelRatio() == ratio) {
    return *kept;
  }
  QPixmap picture(option.rect.size() * ratio);
  picture.setDevicePixelRatio(ratio);
  picture.fill(viewport()->palette().color(viewport()->backgroundRole()));
  QPainter painter(&picture);
  QStyleOptionViewItem cell = option;
  cell.rect.moveTo(0, 0);
  itemDelegateForIndex(index)->paint(&painter, cell, index);
  return *cellPictures_.insert(text, picture);
}

void HistoryColumnView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const int height = RowHeight();
  const int rows = RowCount();
  for (int row = verticalOffset(), y = 0; row < rows && y < viewport()->height();
       ++row, y += height) {
    option.rect = QRect(0, y, viewport()->width(), height);
    painter.drawPixmap(option.rect.topLeft(), CellPicture(model()->index(row, 0), option));
  }
}

void HistoryColumnView::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
      rowHeight_ = 0;
      cellPictures_.clear();
      break;
    default:
      break;
  }
  QAbstractItemView::changeEvent(event);
}

}  // namespace wheelwatcher
