#include "app/history_column_view.h"

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
      return Qt::AlignCenter;
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

HistoryColumnView::HistoryColumnView(HistoryColumnModel* model, QWidget* parent)
    : QListView(parent) {
  setModel(model);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);  // keeps layout constant-time however long the history grows
  setAutoScroll(false);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::black);
  colours.setColor(QPalette::Window, Qt::black);
  setPalette(colours);
  viewport()->setAutoFillBackground(true);
}
