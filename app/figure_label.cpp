// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/figure_label.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace wheelwatcher {

namespace {

// Wide enough for a short figure on one line; a long one wraps to the column's width. The
// preferred width does not follow the text, so a new figure never shifts the columns.
constexpr int kPreferredCharacters = 40;
constexpr int kLeastCharacters = 12;

// Holds one figure, filling it, and sizes itself by the figure's height for its width. The
// figure's text changes reach it as a layout request (it has no layout of its own), and only a
// change of height goes on to the window's layout.
class FigureSlot : public QWidget {
 public:
  FigureSlot() {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
  }
  void Hold(FigureLabel* figure) {
    figure_ = figure;
    figure_->setParent(this);
  }

  QSize sizeHint() const override {
    const int width = fontMetrics().averageCharWidth() * kPreferredCharacters;
    return {width, heightForWidth(width)};
  }
  QSize minimumSizeHint() const override {
    return {fontMetrics().averageCharWidth() * kLeastCharacters, fontMetrics().height()};
  }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return figure_->heightForWidth(width); }

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::LayoutRequest) FollowFigure();
    return QWidget::event(event);
  }
  // A change made while hidden sent no request.
  void showEvent(QShowEvent*) override { FollowFigure(); }
  void resizeEvent(QResizeEvent*) override { figure_->setGeometry(rect()); }

 private:
  void FollowFigure() {
    if (heightForWidth(width()) != height()) updateGeometry();
  }

  FigureLabel* figure_ = nullptr;
};

}  // namespace

FigureLabel* FigureLabel::InSlot(QWidget*& slot) {
  auto* holder = new FigureSlot;
  auto* figure = new FigureLabel;
  figure->setWordWrap(true);
  // Plain Latin figures need no shaping, and skipping it makes laying out a new figure far
  // cheaper; only kerning, which the window's font hardly uses, is lost.
  QFont font = figure->font();
  font.setStyleStrategy(QFont::PreferNoShaping);
  figure->setFont(font);
  holder->Hold(figure);
  slot = holder;
  return figure;
}

const QStaticText& FigureLabel::LaidOut(int width) const {
  const QMargins margins = contentsMargins();
  const int textWidth = std::max(1, width - margins.left() - margins.right());
  if (laidOut_.text() != text() || laidOutWidth_ != textWidth) {
    laidOut_.setTextFormat(Qt::PlainText);
    laidOut_.setText(text());
    laidOut_.setTextWidth(textWidth);
    laidOut_.prepare(QTransform(), font());
    laidOutWidth_ = textWidth;
  }
  return laidOut_;
}

int FigureLabel::heightForWidth(int width) const {
  const QMargins margins = contentsMargins();
  const int lines = static_cast<int>(std::ceil(LaidOut(width).size().height()));
  return std::max(fontMetrics().height(), lines) + margins.top() + margins.bottom();
}

void FigureLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect room = contentsRect();
  const QStaticText& text = LaidOut(width());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
  // Upright in the middle of its room, as a label's text is.
  const double top = room.top() + std::max(0.0, (room.height() - text.size().height()) / 2);
  painter.drawStaticText(QPointF(room.left(), std::floor(top)), text);
}

}  // namespace wheelwatcher
