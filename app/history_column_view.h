#pragma once

#include <QAbstractListModel>
#include <QColor>
#include <QListView>

#include "engine/spin_tracker.h"

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

 private:
  const SpinTracker& tracker_;
  HistoryColumn column_;
  QColor textColour_;
  int rows_ = 0;
};

// The list box that shows a column: black, borderless, without scroll bars or selection.
class HistoryColumnView : public QListView {
  Q_OBJECT
 public:
  HistoryColumnView(HistoryColumnModel* model, QWidget* parent);
};
