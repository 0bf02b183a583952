// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QColor>
#include <QHash>
#include <QPixmap>

#include "table/spin_tracker.h"

namespace wheelwatcher {

// One History column as a view over the tracker's spin history: no text is stored per row, so the
// columns cost nothing as the history grows. Row 0 is the newest spin.
class HistoryColumnModel : public QAbstractListModel {
  Q_OBJECT
 public:
  HistoryColumnModel(const SpinTracker& tracker, HistoryColumn column, QColor textColour,
                     QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void RowAdded();
  void NewestRowRemoved();
  void Cleared();
  // Every row at once, from the tracker's history (a session resumed).
  void Refilled();

 private:
  const SpinTracker& tracker_;
  HistoryColumn column_;
  QColor textColour_;
  int rows_ = 0;
};

// The list box that shows a column: black, borderless, without scroll bars or selection. It lays
// out nothing: rows are of one height, so the rows in sight follow from the scroll position alone,
// and adding a row to a long history costs no more than adding one to a short history. Scrolling
// (the mouse wheel still moves it) goes by whole rows. A column shows the same few numbers over and
// over, so each cell's picture is drawn once per text and copied after that.
class HistoryColumnView : public QAbstractItemView {
  Q_OBJECT
 public:
  HistoryColumnView(HistoryColumnModel* model, QWidget* parent);

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;

 protected:
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex& index) const override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void RowsChanged();
  int RowHeight() const;
  int RowCount() const;
  // The delegate's picture of a cell whose text is `index`'s, in a cell of `option.rect`'s size.
  const QPixmap& CellPicture(const QModelIndex& index, const QStyleOptionViewItem& option);

  mutable int rowHeight_ = 0;  // 0: not measured since the font or style changed
  QHash<QString, QPixmap> cellPictures_;
};

}  // namespace wheelwatcher
