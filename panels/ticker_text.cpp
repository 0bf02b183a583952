// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/ticker_text.h"

#include <algorithm>
#include <cstddef>

namespace wheelwatcher {

bool TickerText::SetText(const std::string& text) {
  if (text == text_) return false;
  text_ = text;
  if (columns_ == 0) columns_ = static_cast<int>(text_.size());
  if (rows_ == 0) SetRows(0);
  return true;
}

void TickerText::SetRows(int rows) {
  if (rows != 0) {
    rows_ = rows;
  } else {
    rows_ = columns_ == 0 ? 1 : static_cast<int>(text_.size()) / columns_;
  }
}

void TickerText::SetColumns(int columns) {
  columns_ = columns != 0 ? columns : static_cast<int>(text_.size());
}

void TickerText::FillMissingRows(int rows) {
  if (rows_ == 0) rows_ = rows;
}

void TickerText::FillMissingColumns(int columns) {
  if (columns_ == 0) columns_ = columns;
}

void TickerText::SetPadding(bool autoPad, char padChar) {
  autoPad_ = autoPad;
  padChar_ = padChar;
}

void TickerText::SetDirection(int direction) { direction_ = direction; }

bool TickerText::Step() {
  Pad();
  return Rotate();
}

void TickerText::Pad() {
  if (!autoPad_) return;
  long long target = 0;
  if (rows_ == 1) {
    target = columns_;
  } else if (rows_ > 1) {
    target = static_cast<long long>(columns_) * rows_;
  }
  const auto length = static_cast<long long>(text_.size());
  if (target > length) text_.append(static_cast<std::size_t>(target - length), padChar_);
}

bool TickerText::Rotate() {
  if (rows_ == 1) {
    RotateSingleRow();
    return true;
  }
  if (rows_ > 1) return RotateRows();
  return true;
}

void TickerText::RotateSingleRow() {
  // A still panel would cut off whatever does not fit (a long BANK line would show a wrong
  // amount), so a text that overflows moves to the left like a ticker until it fits again.
  const bool overflows = columns_ > 0 && text_.size() > static_cast<std::size_t>(columns_);
  if (direction_ != ticker_direction::kLeft && !overflows) return;
  if (text_.empty()) return;
  std::rotate(text_.begin(), text_.begin() + 1, text_.end());
}

bool TickerText::RotateRows() {
  const std::size_t length = text_.size();
  if (columns_ <= 0) return direction_ != ticker_direction::kRight;
  const auto columns = static_cast<std::size_t>(columns_);
  const std::size_t wholeRuns = length / columns;
  switch (direction_) {
    case ticker_direction::kLeft: {
      // A text shorter than one row still turns round as one short run.
      const std::size_t runs = std::max<std::size_t>(wholeRuns, 1);
      for (std::size_t run = 0; run < runs; ++run) {
        const auto first = text_.begin() + static_cast<std::ptrdiff_t>(run * columns);
        const auto last =
            text_.begin() + static_cast<std::ptrdiff_t>(std::min(length, (run + 1) * columns));
        if (first != last) std::rotate(first, first + 1, last);
      }
      return true;
    }
    case ticker_direction::kRight: {
      if (wholeRuns == 0) return false;
      for (std::size_t run = 0; run < wholeRuns; ++run) {
        const auto first = text_.begin() + static_cast<std::ptrdiff_t>(run * columns);
        const auto last = first + static_cast<std::ptrdiff_t>(columns);
        std::rotate(first, last - 1, last);
      }
      return true;
    }
    case ticker_direction::kUp: {
      const auto moved = static_cast<std::ptrdiff_t>(std::min(length, columns));
      std::rotate(text_.begin(), text_.begin() + moved, text_.end());
      return true;
    }
    case ticker_direction::kDown: {
      const auto moved = static_cast<std::ptrdiff_t>(std::min(length, columns));
      std::rotate(text_.begin(), text_.end() - moved, text_.end());
      return true;
    }
    default:
      return true;
  }
}

std::vector<TickerCell> TickerText::VisibleCells() const {
  std::vector<TickerCell> cells;
  cells.reserve(text_.size());
  int column = 0;
  int row = 0;
  for (const char character : text_) {
    cells.push_back({column, row, static_cast<unsigned char>(character)});
    ++column;
    // Without rows (0 or fewer) or without columns the whole text runs on along one row.
    if (column != columns_ || rows_ < 1) continue;
    if (row + 1 >= rows_) break;
    ++row;
    column = 0;
  }
  return cells;
}

}  // namespace wheelwatcher
