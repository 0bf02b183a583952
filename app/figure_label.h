// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QStaticText>
#include <QString>

namespace wheelwatcher {

// A word-wrapped figure that changes at every spin, kept cheap. It lays its text out as plain
// lines once per text and width, and paints that, where a focusable QLabel lays its text out as
// a whole document twice for every question a layout asks, and again to paint it. And it sits in a
// slot of its own (`InSlot`), which asks the window to lay itself out again only when the figure's
// height changed: a new number on the same lines costs one measurement and one paint.
class FigureLabel : public QLabel {
 public:
  // The label, and the slot that holds it: the widget to put in a layout.
  static FigureLabel* InSlot(QWidget*& slot);

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  FigureLabel() = default;

  // The text laid out for `width`: laid out again only when the text or the width changed, so
  // measuring and painting a figure costs one layout per new text.
  const QStaticText& LaidOut(int width) const;

  mutable QStaticText laidOut_;
  mutable int laidOutWidth_ = -1;
};

}  // namespace wheelwatcher
