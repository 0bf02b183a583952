// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/ticker_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace wheelwatcher {

namespace {

TickerText MakeTicker(int rows, int columns, int direction, const std::string& text,
                      bool autoPad = false, char padChar = ' ') {
  TickerText ticker;
  ticker.SetText(text);
  ticker.SetColumns(columns);
  ticker.SetRows(rows);
  ticker.SetDirection(direction);
  ticker.SetPadding(autoPad, padChar);
  return ticker;
}

struct StepCase {
  const char* name;
  int rows;
  int columns;
  int direction;
  const char* text;
  const char* expected;
  bool repaint;
};

// What GoogleTest prints for the parameter (listing and failures): the case whole, not its bytes.
void PrintTo(const StepCase& c, std::ostream* out) {
  *out << c.name << ": " << c.rows << " row(s) of " << c.columns << ", direction " << c.direction
       << ", \"" << c.text << "\" steps to \"" << c.expected << "\""
       << (c.repaint ? ", repaints" : ", no repaint");
}

class TickerStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(TickerStep, RotatesByRowsAndDirection) {
  const StepCase& c = GetParam();
  TickerText ticker = MakeTicker(c.rows, c.columns, c.direction, c.text);
  ASSERT_EQ(ticker.rows(), c.rows);
  ASSERT_EQ(ticker.columns(), c.columns);
  EXPECT_EQ(ticker.Step(), c.repaint);
  EXPECT_EQ(ticker.text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllCases, TickerStep,
    ::testing::Values(StepCase{"OneRowLeft", 1, 10, 0, "ABC", "BCA", true},
                      StepCase{"OneRowLeftLong", 1, 3, 0, "ABCDE", "BCDEA", true},
                      StepCase{"OneRowRightFits", 1, 10, 1, "ABC", "ABC", true},
                      StepCase{"OneRowUpFitsExactly", 1, 5, 2, "ABCDE", "ABCDE", true},
                      StepCase{"OneRowDownFits", 1, 5, 3, "ABC", "ABC", true},
                      // A still panel moves a text it could not show whole.
                      StepCase{"OneRowRightOverflows", 1, 5, 1, "ABCDEF", "BCDEFA", true},
                      StepCase{"OneRowUpOverflows", 1, 5, 2, "ABCDEF", "BCDEFA", true},
                      StepCase{"OneRowDownOverflows", 1, 5, 3, "ABCDEF", "BCDEFA", true},
                      StepCase{"OneRowLeftEmpty", 1, 0, 0, "", "", true},
                      StepCase{"RowsLeftKeepsTrailingPart", 2, 3, 0, "ABCDEFG", "BCAEFDG", true},
                      StepCase{"RowsLeftShortTextIsOneRun", 2, 3, 0, "AB", "BA", true},
                      StepCase{"RowsRight", 2, 3, 1, "ABCDEFG", "CABFDEG", true},
                      StepCase{"RowsRightNoWholeRowNoRepaint", 2, 3, 1, "AB", "AB", false},
                      StepCase{"RowsUp", 2, 3, 2, "ABCDEFG", "DEFGABC", true},
                      StepCase{"RowsUpShortText", 2, 3, 2, "AB", "AB", true},
                      StepCase{"RowsDown", 2, 3, 3, "ABCDEFG", "EFGABCD", true},
                      StepCase{"RowsDownShortText", 2, 3, 3, "AB", "AB", true},
                      StepCase{"RowsUnknownDirection", 2, 3, 7, "ABCDEFG", "ABCDEFG", true},
                      // Rows 0 come from a text shorter than one row.
                      StepCase{"NoRows", 0, 3, 0, "AB", "AB", true}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST(TickerText, OneRowLeftCyclesThroughItsOwnCharacters) {
  TickerText ticker = MakeTicker(1, 10, 0, "ABC");
  for (const char* expected : {"BCA", "CAB", "ABC"}) {
    ticker.Step();
    EXPECT_EQ(ticker.text(), expected);
  }
}

TEST(TickerText, StillPanelWithFittingTextNeverChanges) {
  for (int direction : {1, 2, 3}) {
    TickerText ticker = MakeTicker(1, 10, direction, "SPIN 12", true);
    ticker.Step();
    const std::string padded = ticker.text();
    EXPECT_EQ(padded, "SPIN 12   ");
    for (int tick = 0; tick < 50; ++tick) ticker.Step();
    EXPECT_EQ(ticker.text(), padded) << direction;
  }
}

TEST(TickerText, StillPanelShowsEveryCharacterOfAnOverlongBank) {
  TickerText ticker = MakeTicker(1, 10, 1, "BANK $-1000", true);
  std::string seen;
  for (int tick = 0; tick < 11; ++tick) {
    seen += ticker.text().front();
    ticker.Step();
  }
  EXPECT_EQ(seen, "BANK $-1000");
  EXPECT_EQ(ticker.text(), "BANK $-1000");  // round again, no padding added to a long text
}

TEST(TickerText, MultiRowStepsNothingWithoutColumns) {
  TickerText ticker;
  ticker.SetColumns(0);
  ticker.SetRows(3);
  ticker.SetPadding(true, '*');
  for (int direction : {0, 2, 3}) {
    ticker.SetDirection(direction);
    EXPECT_TRUE(ticker.Step());
  }
  ticker.SetDirection(1);
  EXPECT_FALSE(ticker.Step());
  EXPECT_EQ(ticker.text(), "");
}

struct PadCase {
  const char* name;
  int rows;
  int columns;
  bool autoPad;
  const char* text;
  const char* expected;
};

void PrintTo(const PadCase& c, std::ostream* out) {
  *out << c.name << ": " << c.rows << " row(s) of " << c.columns << (c.autoPad ? ", padded" : "")
       << ", \"" << c.text << "\" becomes \"" << c.expected << "\"";
}

class TickerPadding : public ::testing::TestWithParam<PadCase> {};

TEST_P(TickerPadding, PadsOnlyUpToTheTarget) {
  const PadCase& c = GetParam();
  // Direction 7 never rotates, so the text after a step is the padded text.
  TickerText ticker = MakeTicker(c.rows, c.columns, 7, c.text, c.autoPad, '.');
  ASSERT_EQ(ticker.rows(), c.rows);
  ticker.Step();
  EXPECT_EQ(ticker.text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllCases, TickerPadding,
    ::testing::Values(PadCase{"OneRow", 1, 10, true, "ABC", "ABC......."},
                      PadCase{"SeveralRows", 3, 4, true, "ABCDE", "ABCDE......."},
                      PadCase{"AlreadyFull", 1, 3, true, "ABC", "ABC"},
                      PadCase{"LongerThanTarget", 2, 2, true, "ABCDEF", "ABCDEF"},
                      PadCase{"Off", 1, 10, false, "ABC", "ABC"},
                      PadCase{"NoRows", 0, 10, true, "ABC", "ABC"},
                      PadCase{"NoColumns", 1, 0, true, "", ""}),
    [](const ::testing::TestParamInfo<PadCase>& info) { return info.param.name; });

TEST(TickerText, PaddingHappensOnceBeforeRotating) {
  TickerText ticker = MakeTicker(1, 5, 0, "AB", true, '_');
  ticker.Step();
  EXPECT_EQ(ticker.text(), "B___A");
  ticker.Step();
  EXPECT_EQ(ticker.text(), "___AB");
}

TEST(TickerText, EmptyTextWithoutColumnsIsNeverPadded) {
  TickerText ticker;
  ticker.SetPadding(true, ' ');
  ticker.Step();
  EXPECT_EQ(ticker.text(), "");
  EXPECT_TRUE(ticker.VisibleCells().empty());
}

TEST(TickerText, SetTextWithStoredTextDoesNothing) {
  TickerText ticker = MakeTicker(1, 10, 1, "SPIN 3");
  EXPECT_FALSE(ticker.SetText("SPIN 3"));
  EXPECT_TRUE(ticker.SetText("SPIN 4"));
  EXPECT_EQ(ticker.text(), "SPIN 4");
}

TEST(TickerText, SameMessageAfterATickRestarts) {
  TickerText scrolling = MakeTicker(1, 10, 0, "Your next bet is");
  scrolling.Step();
  scrolling.Step();
  EXPECT_EQ(scrolling.text(), "ur next bet isYo");
  EXPECT_TRUE(scrolling.SetText("Your next bet is"));
  EXPECT_EQ(scrolling.text(), "Your next bet is");

  TickerText padded = MakeTicker(1, 10, 1, "SPIN 3", true);
  padded.Step();
  EXPECT_TRUE(padded.SetText("SPIN 3"));
  EXPECT_EQ(padded.text(), "SPIN 3");
}

TEST(TickerText, ColumnsAndRowsFollowTheTextWhenZero) {
  TickerText ticker;
  EXPECT_EQ(ticker.rows(), 1);
  EXPECT_EQ(ticker.columns(), 0);
  ticker.SetRows(0);
  EXPECT_EQ(ticker.rows(), 1);  // no columns yet
  EXPECT_TRUE(ticker.SetText("ABCDEFGH"));
  EXPECT_EQ(ticker.columns(), 8);  // the first text sets the width

  ticker.SetColumns(3);
  ticker.SetRows(0);
  EXPECT_EQ(ticker.rows(), 2);  // 8 / 3
  ticker.SetText("ABCDEFGHIJKL");
  EXPECT_EQ(ticker.columns(), 3);  // a stored width stays
  EXPECT_EQ(ticker.rows(), 2);     // stored rows stay too

  ticker.SetColumns(0);
  EXPECT_EQ(ticker.columns(), 12);
  ticker.SetText("AB");
  ticker.SetColumns(5);
  ticker.SetRows(0);
  EXPECT_EQ(ticker.rows(), 0);  // 2 / 5
  ticker.SetText("ABCDEFGHIJK");
  EXPECT_EQ(ticker.rows(), 2);  // rows 0 are worked out again from the new text
}

TEST(TickerText, FillMissingCountsOnlyReplaceZero) {
  TickerText ticker = MakeTicker(1, 5, 0, "AB");
  ticker.SetRows(0);
  ASSERT_EQ(ticker.rows(), 0);
  ticker.SetColumns(1);
  ticker.FillMissingRows(0);
  EXPECT_EQ(ticker.rows(), 0);  // kept as given, not worked out from the text
  ticker.FillMissingRows(3);
  EXPECT_EQ(ticker.rows(), 3);
  ticker.FillMissingRows(4);
  EXPECT_EQ(ticker.rows(), 3);
  ticker.FillMissingColumns(9);
  EXPECT_EQ(ticker.columns(), 1);
}

std::string Placements(const TickerText& ticker) {
  std::string placed;
  for (const TickerCell& cell : ticker.VisibleCells()) {
    placed += static_cast<char>(cell.code);
    placed += std::to_string(cell.column) + "," + std::to_string(cell.row) + " ";
  }
  return placed;
}

TEST(TickerText, VisibleCellsWrapAfterColumnsAndStopAfterTheLastRow) {
  EXPECT_EQ(Placements(MakeTicker(1, 3, 0, "ABCDE")), "A0,0 B1,0 C2,0 ");
  EXPECT_EQ(Placements(MakeTicker(2, 3, 0, "ABCDEFGH")), "A0,0 B1,0 C2,0 D0,1 E1,1 F2,1 ");
  EXPECT_EQ(Placements(MakeTicker(3, 2, 0, "ABC")), "A0,0 B1,0 C0,1 ");

  TickerText noRows = MakeTicker(0, 5, 0, "ABC");
  ASSERT_EQ(noRows.rows(), 0);
  noRows.SetColumns(2);
  EXPECT_EQ(Placements(noRows), "A0,0 B1,0 C2,0 ");
}

TEST(TickerText, VisibleCellsKeepCodesAboveSignedRange) {
  const std::string text = {'A', static_cast<char>(0xA3), '\t', 'B'};
  const auto cells = MakeTicker(1, 4, 0, text).VisibleCells();
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_EQ(cells[1].code, 0xA3);
  EXPECT_EQ(cells[2].code, '\t');
  EXPECT_EQ(cells[3].column, 3);
}

}  // namespace

}  // namespace wheelwatcher
