// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "tools/artgen/art.h"
#include "tools/artgen/paint_helpers.h"

namespace wheelwatcher {

namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 560;
constexpr int kRim = 4;

const QColor kGold(226, 192, 104);
const QColor kTextShadow(0, 0, 0, 150);

enum class Mark { kText, kRedDiamond, kBlackDiamond };

// An outside-bet box and the overlay that lights it up.
struct OutsideBox {
  QRect rect;
  QString label;
  Mark mark;
  bool vertical;
  const char* overlayName;  // nullptr when another box's overlay is used
};

const std::array<OutsideBox, 12> kOutsideBoxes = {{
    {QRect(38, 88, 27, 113), "1st 12", Mark::kText, true, "highlight-first.png"},
    {QRect(38, 205, 27, 111), "2nd 12", Mark::kText, true, "highlight-second.png"},
    {QRect(38, 320, 27, 113), "3rd 12", Mark::kText, true, "highlight-third.png"},
    {QRect(156, 88, 26, 55), "1 to 18", Mark::kText, true, "highlight-low.png"},
    {QRect(156, 146, 26, 55), "EVEN", Mark::kText, true, "highlight-evens.png"},
    {QRect(156, 205, 26, 54), "", Mark::kRedDiamond, false, "highlight-reds.png"},
    {QRect(156, 263, 26, 55), "", Mark::kBlackDiamond, false, "highlight-blacks.png"},
    {QRect(156, 320, 26, 54), "ODD", Mark::kText, true, "highlight-odds.png"},
    {QRect(156, 380, 26, 55), "19 to 36", Mark::kText, true, "highlight-high.png"},
    {QRect(68, 436, 26, 36), "2 to 1", Mark::kText, true, "highlight-column.png"},
    {QRect(98, 436, 26, 35), "2 to 1", Mark::kText, true, "highlight-column-middle.png"},
    {QRect(128, 436, 26, 36), "2 to 1", Mark::kText, true, nullptr},
}};

// Number boxes sit on a regular grid of three columns; the rows follow the hit map.
constexpr std::array<std::array<int, 2>, 3> kNumberColumns = {{{68, 93}, {97, 123}, {127, 152}}};
constexpr std::array<std::array<int, 2>, 12> kNumberRows = {{{88, 112},
                                                             {116, 142},
                                                             {146, 171},
                                                             {175, 200},
                                                             {204, 229},
                                                             {233, 258},
                                                             {262, 287},
                                                             {292, 316},
                                                             {320, 346},
                                                             {350, 375},
                                                             {379, 404},
                                                             {408, 432}}};

bool IsRed(int number) {
  static constexpr std::array<int, 18> kReds = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                                19, 21, 23, 25, 27, 30, 32, 34, 36};
  return std::find(kReds.begin(), kReds.end(), number) != kReds.end();
}

enum class ButtonLook { kGold, kLive, kFaded, kSave, kGreyed };

struct Button {
  QRect rect;
  QString label;  // "\n" splits lines
};

const Button kLiveWheel{QRect(226, 9, 50, 24), "LIVE\nWHEEL"};
const Button kHelp{QRect(210, 346, 66, 30), "HELP"};
const Button kSystem{QRect(210, 380, 66, 30), "SYSTEM"};
const Button kStake{QRect(210, 414, 66, 30), "STAKE"};
const Button kRewind{QRect(138, 521, 66, 30), "REWIND"};
const Button kClearAll{QRect(210, 521, 66, 30), "CLEAR ALL"};

// What differs between the plain layout and the pictures laid over it.
struct LayoutVariant {
  std::optional<std::size_t> highlightedBox;
  bool fadedLiveWheel = false;
  bool saveButton = false;
  bool greyedStake = false;
};

QColor Shade(const QColor& colour, double factor) {
  return QColor(std::clamp(static_cast<int>(colour.red() * factor), 0, 255),
                std::clamp(static_cast<int>(colour.green() * factor), 0, 255),
                std::clamp(static_cast<int>(colour.blue() * factor), 0, 255));
}

// Per device pixel, so the @2x felt has its own finer grain; the rim keeps its width in logical
// pixels.
void DrawFeltAndRim(QImage& image, int scale) {
  for (int py = 0; py < kHeight * scale; ++py) {
    for (int px = 0; px < kWidth * scale; ++px) {
      const double x = (px + 0.5) / scale - 0.5;
      const double y = (py + 0.5) / scale - 0.5;
      const double dx = (x - kWidth / 2.0) / kWidth;
      const double dy = (y - kHeight / 2.0) / kHeight;
      const double light = 1.0 - 0.9 * (dx * dx + dy * dy) + 0.035 * PixelNoise(px, py, 1);
      image.setPixel(px, py,
                     qRgb(static_cast<int>(14 * light), static_cast<int>(86 * light),
                          static_cast<int>(44 * light)));
    }
  }
  // Wood: grain runs along each side; the outer and inner edges are darker for a bevel.
  for (int py = 0; py < kHeight * scale; ++py) {
    for (int px = 0; px < kWidth * scale; ++px) {
      const int x = px / scale;
      const int y = py / scale;
      const int depth = std::min({x, y, kWidth - 1 - x, kHeight - 1 - y});
      if (depth >= kRim) continue;
      const bool horizontal = std::min(y, kHeight - 1 - y) == depth;
      const int along = horizontal ? x : y;
      const double grain =
          0.80 +
          0.12 * std::sin(along * 0.21 + depth * 1.7 + 2.0 * PixelNoise(along / 9, depth, 3)) +
          0.05 * PixelNoise(px, py, 4);
      static constexpr double kBevel[kRim] = {0.55, 1.05, 0.95, 0.60};
      const double light = grain * kBevel[depth];
      image.setPixel(px, py,
                     qRgb(std::min(255, static_cast<int>(150 * light)),
                          static_cast<int>(88 * light), static_cast<int>(40 * light)));
    }
  }
}

// A number box: red or black lacquer with a gold edge and a white numeral.
void DrawNumberBox(QPainter& painter, const QRect& rect, int number, const QFont& font) {
  const QColor base = IsRed(number) ? QColor(196, 28, 34) : QColor(30, 30, 34);
  QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
  fill.setColorAt(0.0, Shade(base, 1.25));
  fill.setColorAt(1.0, Shade(base, 0.80));
  painter.fillRect(rect, fill);
  DrawFrame(painter, rect, kGold);
  DrawCentred(painter,
              TextImage(QString::number(number), font, Qt::white, kTextShadow, ScaleOf(painter)),
              rect);
}

void DrawZeroBox(QPainter& painter, const QFont& font) {
  // Pixel edges of the pentagon: rows 60 to 83 full width, narrowing to x 112-114 at row 44.
  const QPolygonF pentagon({QPointF(68, 84), QPointF(68, 60), QPointF(112, 44), QPointF(115, 44),
                            QPointF(153, 60), QPointF(153, 84)});
  QLinearGradient fill(QPointF(0, 44), QPointF(0, 84));
  fill.setColorAt(0.0, QColor(40, 184, 84));
  fill.setColorAt(1.0, QColor(16, 120, 50));
  // The outline runs through pixel centres so its straight parts stay one crisp pixel wide.
  const QPolygonF outline({QPointF(68.5, 83.5), QPointF(68.5, 60.5), QPointF(112.5, 44.5),
                           QPointF(114.5, 44.5), QPointF(152.5, 60.5), QPointF(152.5, 83.5)});
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawPolygon(pentagon);
  painter.setPen(QPen(kGold, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolygon(outline);
  painter.restore();
  DrawCentred(painter, TextImage("0", font, Qt::white, kTextShadow, ScaleOf(painter)),
              QRect(68, 62, 85, 22));
}

void DrawMark(QPainter& painter, const OutsideBox& box, const QFont& font, const QColor& text) {
  if (box.mark == Mark::kText) {
    DrawCentred(painter, TextImage(box.label, font, text, kTextShadow, ScaleOf(painter)), box.rect,
                box.vertical);
    return;
  }
  const QPointF centre = QRectF(box.rect).center();
  const double halfWidth = 9.0;
  const double halfHeight = 19.0;
  const QPolygonF diamond({centre + QPointF(0, -halfHeight), centre + QPointF(halfWidth, 0),
                           centre + QPointF(0, halfHeight), centre + QPointF(-halfWidth, 0)});
  const bool red = box.mark == Mark::kRedDiamond;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(red ? QColor(255, 190, 180) : QColor(170, 170, 176), 1.0));
  painter.setBrush(red ? QColor(204, 26, 32) : QColor(22, 22, 26));
  painter.drawPolygon(diamond);
  painter.restore();
}

// Outside-bet box: felt with a gold edge, or when lit, bright green with a raised bevel.
void DrawOutsideBox(QPainter& painter, const OutsideBox& box, bool lit, const QFont& font) {
  const QRect& rect = box.rect;
  if (!lit) {
    painter.fillRect(rect, QColor(10, 70, 34));
    DrawFrame(painter, rect, kGold);
    DrawMark(painter, box, font, QColor(250, 246, 230));
    return;
  }
  QLinearGradient fill(rect.topLeft(), rect.bottomRight());
  fill.setColorAt(0.0, QColor(120, 255, 120));
  fill.setColorAt(1.0, QColor(30, 200, 60));
  painter.fillRect(rect, fill);
  const int right = rect.right();
  const int bottom = rect.bottom();
  for (int ring = 0; ring < 2; ++ring) {
    // Filled rows and columns, for the reason DrawFrame gives.
    const QColor light = ring == 0 ? QColor(230, 255, 230) : QColor(180, 255, 180);
    const QColor dark = ring == 0 ? QColor(0, 90, 20) : QColor(10, 140, 40);
    const int left = rect.left() + ring;
    const int top = rect.top() + ring;
    const int width = right - ring - left + 1;
    const int height = bottom - ring - top + 1;
    painter.fillRect(QRect(left, top, width, 1), light);
    painter.fillRect(QRect(left, top, 1, height), light);
    painter.fillRect(QRect(left, bottom - ring, width, 1), dark);
    painter.fillRect(QRect(right - ring, top, 1, height), dark);
  }
  DrawMark(painter, box, font, Qt::white);
}

void DrawButton(QPainter& painter, const Button& button, ButtonLook look, const QFont& font) {
  struct Colours {
    QColor top, bottom, edge, text, shadow;
  };
  Colours colours;
  switch (look) {
    case ButtonLook::kGold:
      colours = {QColor(255, 232, 150), QColor(190, 138, 40), QColor(96, 60, 8), QColor(70, 34, 0),
                 QColor(255, 244, 200, 150)};
      break;
    case ButtonLook::kLive:
      colours = {QColor(246, 84, 70), QColor(150, 10, 12), QColor(80, 0, 0), Qt::white,
                 QColor(60, 0, 0, 170)};
      break;
    case ButtonLook::kFaded:
      colours = {QColor(120, 82, 76), QColor(86, 52, 50), QColor(56, 30, 28), QColor(200, 176, 170),
                 QColor(0, 0, 0, 0)};
      break;
    case ButtonLook::kSave:
      colours = {QColor(130, 240, 120), QColor(20, 150, 40), QColor(0, 70, 10), Qt::white,
                 QColor(0, 60, 0, 190)};
      break;
    case ButtonLook::kGreyed:
      // Grey text with a light shadow below: the lettering looks pressed into a disabled face.
      colours = {QColor(206, 206, 206), QColor(150, 150, 150), QColor(96, 96, 96),
                 QColor(124, 124, 124), QColor(236, 236, 236, 200)};
      break;
  }
  const QRectF body = QRectF(button.rect).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(body.topLeft(), body.bottomLeft());
  fill.setColorAt(0.0, colours.top);
  fill.setColorAt(0.48, Shade(colours.top, 0.93));
  fill.setColorAt(0.52, Shade(colours.bottom, 1.08));
  fill.setColorAt(1.0, colours.bottom);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colours.edge, 1.0));
  painter.setBrush(fill);
  painter.drawRoundedRect(body, 5, 5);
  painter.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(body.adjusted(1, 1, -1, -1), 4, 4);
  painter.restore();

  const QStringList lines = button.label.split('\n');
  const int lineHeight = button.rect.height() / static_cast<int>(lines.size());
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    const QRect lineRect(button.rect.x(), button.rect.y() + i * lineHeight, button.rect.width(),
                         lineHeight);
    DrawCentred(painter, TextImage(lines[i], font, colours.text, colours.shadow, ScaleOf(painter)),
                lineRect.adjusted(0, i == 0 && lines.size() > 1 ? 1 : 0, 0, -1));
  }
}

// The dark well under a text panel: the panel's own rectangle in black with a one-pixel edge.
void DrawPanelWell(QPainter& painter, const QRect& panel) {
  painter.fillRect(panel.adjusted(-1, -1, 1, 1), QColor(150, 124, 60));
  painter.fillRect(panel.adjusted(-1, -1, 0, 0), QColor(4, 30, 14));
  painter.fillRect(panel, QColor(0, 0, 0));
}

void DrawHistoryPanel(QPainter& painter, const ArtFonts& fonts) {
  DrawCentred(
      painter,
      TextImage("History", PixelFont(fonts.comic, 17), kGold, kTextShadow, ScaleOf(painter)),
      QRect(192, 40, 84, 24));
  const QRect frame(192, 65, 84, 273);
  painter.fillRect(frame, QColor(6, 34, 18));
  DrawFrame(painter, frame, QColor(150, 124, 60));
  struct Column {
    int left;
    QColor colour;
  };
  // Each column carries a strip in the colour of the numbers listed in it.
  static const Column kColumns[] = {
      {196, QColor(250, 40, 40)}, {226, QColor(10, 250, 10)}, {252, QColor(213, 213, 0)}};
  for (const Column& column : kColumns) {
    painter.fillRect(QRect(column.left, 67, 22, 2), column.colour);
    painter.fillRect(QRect(column.left, 70, 22, 265), QColor(0, 0, 0));
  }
}

QImage RenderLayout(const ArtFonts& fonts, const LayoutVariant& variant, int scale) {
  QImage image(kWidth * scale, kHeight * scale, QImage::Format_RGB32);
  DrawFeltAndRim(image, scale);
  image.setDevicePixelRatio(scale);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);

  const QFont numberFont = PixelFont(fonts.sans, 13);
  DrawZeroBox(painter, PixelFont(fonts.sans, 17));
  for (int row = 0; row < 12; ++row) {
    for (int column = 0; column < 3; ++column) {
      const QRect rect(QPoint(kNumberColumns[column][0], kNumberRows[row][0]),
                       QPoint(kNumberColumns[column][1], kNumberRows[row][1]));
      DrawNumberBox(painter, rect, row * 3 + column + 1, numberFont);
    }
  }
  const QFont dozenFont = PixelFont(fonts.sans, 13);
  const QFont evenChanceFont = PixelFont(fonts.sansCondensed, 10);
  const QFont columnFont = PixelFont(fonts.sansCondensed, 9);
  for (std::size_t i = 0; i < kOutsideBoxes.size(); ++i) {
    const OutsideBox& box = kOutsideBoxes[i];
    const QFont& font = box.rect.width() == 27   ? dozenFont
                        : box.rect.height() < 40 ? columnFont
                                                 : evenChanceFont;
    DrawOutsideBox(painter, box, variant.highlightedBox == i, font);
  }

  DrawPanelWell(painter, QRect(8, 14, 217, 19));
  DrawPanelWell(painter, QRect(14, 54, 30, 19));
  DrawPanelWell(painter, QRect(8, 493, 118, 19));
  DrawPanelWell(painter, QRect(8, 529, 118, 19));
  DrawHistoryPanel(painter, fonts);

  const QFont buttonFont = PixelFont(fonts.sansCondensed, 10);
  DrawButton(painter, kLiveWheel, variant.fadedLiveWheel ? ButtonLook::kFaded : ButtonLook::kLive,
             PixelFont(fonts.sansCondensed, 10));
  DrawButton(painter, kHelp, ButtonLook::kGold, buttonFont);
  if (variant.saveButton) {
    DrawButton(painter, {kSystem.rect, "SAVE"}, ButtonLook::kSave, buttonFont);
  } else {
    DrawButton(painter, kSystem, ButtonLook::kGold, buttonFont);
  }
  DrawButton(painter, kStake, variant.greyedStake ? ButtonLook::kGreyed : ButtonLook::kGold,
             buttonFont);
  DrawButton(painter, kRewind, ButtonLook::kGold, buttonFont);
  DrawButton(painter, kClearAll, ButtonLook::kGold, buttonFont);

  DrawWheel(painter, QPointF(232.5, 484.5), 30, WheelDetail::kFull);
  return image;
}

QImage ToRgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB888); }

// The part of a layout drawn at `scale` that lies under a logical rectangle.
QImage Cut(const QImage& layout, const QRect& logical, int scale) {
  return ToRgb(layout.copy(QRect(logical.topLeft() * scale, logical.size() * scale)));
}

}  // namespace

QImage DrawLayout(const ArtFonts& fonts, int scale) {
  return ToRgb(RenderLayout(fonts, {}, scale));
}

std::vector<Overlay> DrawOverlays(const ArtFonts& fonts, int scale) {
  std::vector<Overlay> overlays;
  for (std::size_t i = 0; i < kOutsideBoxes.size(); ++i) {
    if (kOutsideBoxes[i].overlayName == nullptr) continue;
    LayoutVariant variant;
    variant.highlightedBox = i;
    overlays.push_back({kOutsideBoxes[i].overlayName,
                        Cut(RenderLayout(fonts, variant, scale), kOutsideBoxes[i].rect, scale)});
  }
  LayoutVariant faded;
  faded.fadedLiveWheel = true;
  overlays.push_back(
      {"livewheel-faded.png", Cut(RenderLayout(fonts, faded, scale), kLiveWheel.rect, scale)});
  LayoutVariant save;
  save.saveButton = true;
  overlays.push_back({"save.png", Cut(RenderLayout(fonts, save, scale), kSystem.rect, scale)});
  LayoutVariant greyed;
  greyed.greyedStake = true;
  overlays.push_back(
      {"stake-greyed.png", Cut(RenderLayout(fonts, greyed, scale), kStake.rect, scale)});
  return overlays;
}

}  // namespace wheelwatcher
