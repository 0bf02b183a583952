// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QImage>

#include <algorithm>
#include <array>
#include <ostream>
#include <set>
#include <vector>

namespace wheelwatcher {

namespace {

const QRgb kLit = qRgb(63, 181, 255);
const QRgb kUnlit = qRgb(23, 64, 103);
const QRgb kBlack = qRgb(0, 0, 0);

struct Sheet {
  const char* name;
  QSize size;
  int pitchX, pitchY;    // cell plus gap
  int dotRows;           // 14 in the small sheet, 7 otherwise
  int dotSize;           // pixels per dot side
  int dotPitch;          // horizontal distance between dots
  int rowPitch;          // vertical distance between dot rows
  int marginX, marginY;  // first dot's offset in the cell
};

const Sheet kSheets[] = {
    {":/glyphs-small.png", QSize(352, 45), 11, 15, 14, 1, 2, 1, 1, 0},
    {":/glyphs-medium.png", QSize(512, 66), 16, 22, 7, 2, 3, 3, 0, 0},
    {":/glyphs-large.png", QSize(704, 90), 22, 30, 7, 3, 4, 4, 1, 1},
};

void PrintTo(const Sheet& sheet, std::ostream* out) { *out << sheet.name; }

// A glyph as lit flags, [dot row][dot column].
using Dots = std::vector<std::array<bool, 5>>;

class GlyphSheetTest : public ::testing::TestWithParam<Sheet> {
 protected:
  void SetUp() override {
    image_ = QImage(QString::fromLatin1(GetParam().name));
    ASSERT_FALSE(image_.isNull());
  }

  QPoint CellOrigin(int code) const {
    return {((code - 32) % 32) * GetParam().pitchX, ((code - 32) / 32) * GetParam().pitchY};
  }

  bool IsDotPixel(int x, int y) const {
    const Sheet& sheet = GetParam();
    const int dx = x - sheet.marginX;
    const int dy = y - sheet.marginY;
    if (dx < 0 || dy < 0) return false;
    return dx / sheet.dotPitch < 5 && dx % sheet.dotPitch < sheet.dotSize &&
           dy / sheet.rowPitch < sheet.dotRows && dy % sheet.rowPitch < sheet.dotSize;
  }

  Dots Glyph(int code) const {
    const Sheet& sheet = GetParam();
    const QPoint origin = CellOrigin(code);
    Dots dots(sheet.dotRows);
    for (int row = 0; row < sheet.dotRows; ++row) {
      for (int column = 0; column < 5; ++column) {
        dots[row][column] = image_.pixel(origin.x() + sheet.marginX + column * sheet.dotPitch,
                                         origin.y() + sheet.marginY + row * sheet.rowPitch) == kLit;
      }
    }
    return dots;
  }

  QImage image_;
};

TEST_P(GlyphSheetTest, HasItsSizeAndExactlyThreeColours) {
  EXPECT_EQ(image_.size(), GetParam().size);
  std::set<QRgb> colours;
  for (int y = 0; y < image_.height(); ++y) {
    for (int x = 0; x < image_.width(); ++x) colours.insert(image_.pixel(x, y));
  }
  EXPECT_EQ(colours, (std::set<QRgb>{kLit, kUnlit, kBlack}));
}

TEST_P(GlyphSheetTest, EveryDotIsLitOrUnlitAndEverythingElseBlack) {
  const Sheet& sheet = GetParam();
  for (int y = 0; y < image_.height(); ++y) {
    for (int x = 0; x < image_.width(); ++x) {
      const QRgb pixel = image_.pixel(x, y);
      if (IsDotPixel(x % sheet.pitchX, y % sheet.pitchY)) {
        ASSERT_TRUE(pixel == kLit || pixel == kUnlit) << x << "," << y;
      } else {
        ASSERT_EQ(pixel, kBlack) << x << "," << y;
      }
    }
  }
}

TEST_P(GlyphSheetTest, EachDotIsOneColourThroughout) {
  const Sheet& sheet = GetParam();
  for (int code = 32; code <= 127; ++code) {
    const QPoint origin = CellOrigin(code);
    for (int y = 0; y < sheet.pitchY; ++y) {
      for (int x = 0; x < sheet.pitchX; ++x) {
        if (!IsDotPixel(x, y)) continue;
        const int dotX = sheet.marginX + (x - sheet.marginX) / sheet.dotPitch * sheet.dotPitch;
        const int dotY = sheet.marginY + (y - sheet.marginY) / sheet.rowPitch * sheet.rowPitch;
        ASSERT_EQ(image_.pixel(origin + QPoint(x, y)), image_.pixel(origin + QPoint(dotX, dotY)))
            << "code " << code;
      }
    }
  }
}

TEST_P(GlyphSheetTest, SpaceIsAllUnlitAndCode127AllLit) {
  for (const auto& row : Glyph(' ')) EXPECT_EQ(row, (std::array<bool, 5>{}));
  for (const auto& row : Glyph(127)) EXPECT_EQ(row, (std::array<bool, 5>{1, 1, 1, 1, 1}));
}

TEST_P(GlyphSheetTest, EveryOtherGlyphShowsSomethingAndAllAreDistinct) {
  std::set<Dots> seen;
  for (int code = 33; code <= 126; ++code) {
    const Dots dots = Glyph(code);
    bool anyLit = false;
    for (const auto& row : dots) {
      for (bool dot : row) anyLit = anyLit || dot;
    }
    EXPECT_TRUE(anyLit) << "code " << code;
    EXPECT_TRUE(seen.insert(dots).second) << "code " << code << " repeats another glyph";
  }
}

// Mirror-image pairs catch a flipped column order.
TEST_P(GlyphSheetTest, BracketsMirrorEachOther) {
  const auto mirrored = [](Dots dots) {
    for (auto& row : dots) std::reverse(row.begin(), row.end());
    return dots;
  };
  EXPECT_EQ(mirrored(Glyph('(')), Glyph(')'));
  EXPECT_EQ(mirrored(Glyph('[')), Glyph(']'));
  EXPECT_EQ(mirrored(Glyph('<')), Glyph('>'));
  if (GetParam().dotRows == 7) {
    EXPECT_EQ(mirrored(Glyph('{')), Glyph('}'));
  }
}

// Letter shapes the right way up and round: an L has its foot at the bottom left.
TEST_P(GlyphSheetTest, LetterLStandsUpright) {
  const Dots dots = Glyph('L');
  const int foot = GetParam().dotRows - GetParam().dotRows / 7;  // the small sheet doubles rows
  for (int row = 0; row < GetParam().dotRows; ++row) {
    const std::array<bool, 5> expected =
        row >= foot ? std::array<bool, 5>{1, 1, 1, 1, 1} : std::array<bool, 5>{1, 0, 0, 0, 0};
    EXPECT_EQ(dots[row], expected) << row;
  }
}

INSTANTIATE_TEST_SUITE_P(AllSizes, GlyphSheetTest, ::testing::ValuesIn(kSheets),
                         [](const ::testing::TestParamInfo<Sheet>& info) {
                           return std::string(info.param.dotRows == 14  ? "Small"
                                              : info.param.dotSize == 2 ? "Medium"
                                                                        : "Large");
                         });

class SmallSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    small_ = QImage(QStringLiteral(":/glyphs-small.png"));
    medium_ = QImage(QStringLiteral(":/glyphs-medium.png"));
    ASSERT_FALSE(small_.isNull());
    ASSERT_FALSE(medium_.isNull());
  }
  bool SmallDot(int code, int column, int row) const {
    return small_.pixel(((code - 32) % 32) * 11 + 1 + 2 * column, ((code - 32) / 32) * 15 + row) ==
           kLit;
  }
  bool MediumDot(int code, int column, int row) const {
    return medium_.pixel(((code - 32) % 32) * 16 + 3 * column, ((code - 32) / 32) * 22 + 3 * row) ==
           kLit;
  }
  QImage small_, medium_;
};

TEST_F(SmallSheetTest, DrawsEachPatternRowOnTwoDotRowsLikeTheMediumSheet) {
  for (int code = 32; code <= 127; ++code) {
    if (code == '{' || code == '}') continue;
    for (int row = 0; row < 7; ++row) {
      for (int column = 0; column < 5; ++column) {
        ASSERT_EQ(SmallDot(code, column, 2 * row), MediumDot(code, column, row)) << code;
        ASSERT_EQ(SmallDot(code, column, 2 * row + 1), MediumDot(code, column, row)) << code;
      }
    }
  }
}

TEST_F(SmallSheetTest, PoundAndEuroUseAllFourteenDotRows) {
  for (int code : {'{', '}'}) {
    bool pairsDiffer = false;
    int litRows = 0;
    for (int row = 0; row < 14; ++row) {
      bool rowLit = false;
      for (int column = 0; column < 5; ++column) {
        rowLit = rowLit || SmallDot(code, column, row);
        if (row % 2 == 0) {
          pairsDiffer =
              pairsDiffer || SmallDot(code, column, row) != SmallDot(code, column, row + 1);
        }
      }
      litRows += rowLit;
    }
    EXPECT_TRUE(pairsDiffer) << code;
    EXPECT_GE(litRows, 10) << code;
  }
  // The pound's foot is a full bar; the euro's open side is on the right.
  for (int column = 0; column < 5; ++column) EXPECT_TRUE(SmallDot('{', column, 12));
  for (int row = 4; row <= 9; ++row) EXPECT_FALSE(SmallDot('}', 4, row));
}

}  // namespace

}  // namespace wheelwatcher
