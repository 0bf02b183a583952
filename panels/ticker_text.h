// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace wheelwatcher {

// Scroll directions of a ticker panel.
namespace ticker_direction {
inline constexpr int kLeft = 0;
inline constexpr int kRight = 1;
inline constexpr int kUp = 2;
inline constexpr int kDown = 3;
}  // namespace ticker_direction

// One character of the text placed on the panel's grid of cells.
struct TickerCell {
  int column;
  int row;
  unsigned char code;
};

// The text of a dot-matrix ticker panel and how it moves: on every tick it is padded, then rotated
// in place by rows and direction. Plain data, so the panel's behaviour is testable without a
// screen.
class TickerText {
 public:
  // Stores text unless it equals the stored text byte for byte. Returns whether the panel must be
  // repainted. A stored text that a tick has padded or rotated no longer equals the message it came
  // from, so setting that message again restarts it from its first character.
  bool SetText(const std::string& text);
  // 0 derives the rows from the text (length / columns, or 1 without columns); others are stored.
  void SetRows(int rows);
  // 0 takes the text's length; others are stored.
  void SetColumns(int columns);
  // Store the count as given, 0 included, but only while the count is still 0.
  void FillMissingRows(int rows);
  void FillMissingColumns(int columns);
  void SetPadding(bool autoPad, char padChar);
  void SetDirection(int direction);

  // One scroll tick: padding, then rotation. Returns whether a repaint is requested; only a
  // multi-row step to the right that finds no whole row to rotate requests none.
  bool Step();

  // The characters that are drawn, in text order, each with its cell; cells past the panel's edge
  // are the caller's to clip.
  std::vector<TickerCell> VisibleCells() const;

  const std::string& text() const { return text_; }
  int rows() const { return rows_; }
  int columns() const { return columns_; }
  int direction() const { return direction_; }
  bool autoPad() const { return autoPad_; }
  char padChar() const { return padChar_; }

 private:
  void Pad();
  bool Rotate();
  void RotateSingleRow();
  bool RotateRows();

  char padChar_ = ' ';
  std::string text_;
  bool autoPad_ = false;
  int rows_ = 1;
  int columns_ = 0;
  int direction_ = ticker_direction::kLeft;
};

}  // namespace wheelwatcher
