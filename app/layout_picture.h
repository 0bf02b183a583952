// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <cstdint>
#include <map>

namespace wheelwatcher {

// The whole client area: paints the layout picture and records, under every press and move, the
// colour of the same pixel in the hidden hit map. The main window turns that colour into a region.
class CLayoutPicture : public QWidget {
  Q_OBJECT
 public:
  explicit CLayoutPicture(QWidget* parent = nullptr);

  // The layout picture is loaded at once, the hit map when the window is idle after its first
  // paint (or at the first mouse event, if that comes sooner). Both are kept for the control's
  // life, so that following the mouse loads nothing.
  void SetPictures(const QString& layoutPicture, const QString& hitMapPicture);

  // The hit-map colour (red in the low byte) under the last press or move, or kNoColour.
  std::uint32_t RecordedColour() const { return recordedColour_; }

  // Where each region with an area lies, by region code: the bounding box of its colour in the hit
  // map. Worked out at the first call (only assistive technology asks), then kept.
  const std::map<int, QRect>& RegionRects() const;

  // A press on a region made without the pointer, by assistive technology: its colour is recorded
  // and the click goes on exactly as a press on it would.
  void PressRegion(int regionCode);

 signals:
  // A left press, after its colour has been recorded.
  void clicked();
  // The mouse moved and its colour was recorded.
  void colourRecorded();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QPointF PositionUnrounded(const QMouseEvent& event) const;
  // Loads the hit map on first need: after the first paint, or at an earlier mouse event.
  void LoadHitMap() const;
  void RecordColourAt(QPointF position);

  QPixmap layout_;
  QString hitMapPicture_;
  mutable QImage hitMap_;  // null until loaded
  std::uint32_t recordedColour_;
  mutable std::map<int, QRect> regionRects_;
};

}  // namespace wheelwatcher
