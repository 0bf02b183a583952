// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/ticker_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace wheelwatcher {

namespace {

constexpr QRgb kSheetLit = qRgb(63, 181, 255);
constexpr QRgb kSheetUnlit = qRgb(23, 64, 103);
constexpr QRgb kSheetBlack = qRgb(0, 0, 0);

struct Palette {
  QRgb back;
  QRgb lit;
  QRgb unlit;
};

// Distinct on purpose: a cell taken from the wrong place in the sheet, or a colour mapped to the
// wrong one, shows up.
constexpr Palette kTestPalette{qRgb(10, 20, 30), qRgb(200, 100, 50), qRgb(60, 70, 80)};
constexpr Palette kMainWindowPalette{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0)};
constexpr Palette kSheetPalette{kSheetBlack, kSheetLit, kSheetUnlit};

// Every cell of the test sheet gets its own scrambled pattern of the three sheet colours in the
// glyph area; the gaps stay black, as in the real sheets.
QImage DrawTestSheet(int cellWidth, int cellHeight, int gap) {
  const int pitchX = cellWidth + gap;
  const int pitchY = cellHeight + gap;
  QImage sheet(32 * pitchX, 3 * pitchY, QImage::Format_RGB32);
  sheet.fill(kSheetBlack);
  for (int code = 32; code <= 127; ++code) {
    const int left = (code - 32) % 32 * pitchX;
    const int top = (code - 32) / 32 * pitchY;
    for (int y = 0; y < cellHeight; ++y) {
      for (int x = 0; x < cellWidth; ++x) {
        std::uint32_t hash = static_cast<std::uint32_t>(code * 7919 + y * 131 + x);
        hash = (hash ^ (hash >> 7)) * 2654435761u;
        const QRgb colours[] = {kSheetBlack, kSheetLit, kSheetUnlit};
        sheet.setPixel(left + x, top + y, colours[(hash >> 13) % 3]);
      }
    }
  }
  return sheet;
}

QRgb Recoloured(QRgb sheetPixel, const Palette& palette) {
  if (sheetPixel == kSheetLit) return palette.lit;
  if (sheetPixel == kSheetUnlit) return palette.unlit;
  if (sheetPixel == kSheetBlack) return palette.back;
  return sheetPixel;
}

QImage Shot(CTickerPanel& panel) {
  return panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Compares the shot's cell at (column, row) with the sheet's cell for code, recoloured; a code
// without a glyph must leave the cell in the background colour.
::testing::AssertionResult CellMatches(const QImage& shot, int column, int row, int code,
                                       const QImage& sheet, int pitchX, int pitchY,
                                       const Palette& palette) {
  const bool hasGlyph = code >= 32 && code <= 127;
  for (int y = 0; y < pitchY; ++y) {
    for (int x = 0; x < pitchX; ++x) {
      const int shotX = column * pitchX + x;
      const int shotY = row * pitchY + y;
      if (shotX >= shot.width() || shotY >= shot.height()) continue;
      QRgb expected = palette.back;
      if (hasGlyph) {
        const QRgb source =
            sheet.pixel((code - 32) % 32 * pitchX + x, (code - 32) / 32 * pitchY + y);
        expected = Recoloured(source, palette);
      }
      const QRgb actual = shot.pixel(shotX, shotY) | 0xFF000000u;
      if (actual != expected) {
        return ::testing::AssertionFailure()
               << "code " << code << " cell " << column << "," << row << " pixel " << x << "," << y
               << ": " << std::hex << actual << " instead of " << expected;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult AreaIs(const QImage& shot, const QRect& area, QRgb colour) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if ((shot.pixel(x, y) | 0xFF000000u) != colour) {
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex
                                             << shot.pixel(x, y) << " instead of " << colour;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Hands out test sheets by resource path and remembers what was asked for.
struct TestSheets {
  QImage small = DrawTestSheet(10, 14, 1);
  QImage medium = DrawTestSheet(14, 20, 2);
  QImage large = DrawTestSheet(19, 27, 3);
  QStringList requested;

  CTickerPanel::GlyphSheetLoader Loader() {
    return [this](const QString& path) {
      requested << path;
      if (path == QStringLiteral(":/glyphs-small.png")) return small;
      if (path == QStringLiteral(":/glyphs-medium.png")) return medium;
      if (path == QStringLiteral(":/glyphs-large.png")) return large;
      return QImage();
    };
  }
};

// The configuration the main window gives each of its panels.
void ConfigureAsMainWindowPanel(CTickerPanel& panel, int columns, int direction) {
  panel.SetRows(1);
  panel.SetColumns(columns);
  panel.SetGlyphSize(2);
  panel.SetPalette(Qt::black, Qt::white, Qt::black);
  panel.FitColumns(columns);
  panel.FitRows(1);
  panel.SetPadding(true, ' ');
  panel.StartScrolling(150, direction);
}

void SetPalette(CTickerPanel& panel, const Palette& palette) {
  panel.SetPalette(QColor(palette.back), QColor(palette.lit), QColor(palette.unlit));
}

TEST(TickerPanel, TestSheetCellsAreAllDifferent) {
  const QImage sheet = DrawTestSheet(10, 14, 1);
  std::set<QByteArray> cells;
  for (int code = 32; code <= 127; ++code) {
    const QImage cell = sheet.copy((code - 32) % 32 * 11, (code - 32) / 32 * 15, 11, 15);
    cells.insert(QByteArray(reinterpret_cast<const char*>(cell.constBits()), cell.sizeInBytes()));
  }
  EXPECT_EQ(cells.size(), 96u);
}

TEST(TickerPanel, NewPanelDefaults) {
  CTickerPanel panel;
  EXPECT_EQ(panel.text(), "");
  EXPECT_EQ(panel.columns(), 0);
  EXPECT_EQ(panel.rows(), 1);
  EXPECT_FALSE(panel.isRunning());
  EXPECT_TRUE(panel.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(TickerPanel, NewPanelDrawsInTheSheetsOwnColours) {
  TestSheets sheets;
  CTickerPanel panel(nullptr, sheets.Loader());
  panel.SetGlyphSize(2);
  panel.SetText("A~");
  const QImage shot = Shot(panel);
  EXPECT_TRUE(CellMatches(shot, 0, 0, 'A', sheets.small, 11, 15, kSheetPalette));
  EXPECT_TRUE(CellMatches(shot, 1, 0, '~', sheets.small, 11, 15, kSheetPalette));
}

TEST(TickerPanel, MainWindowPanelsFitTheirPlaces) {
  const struct {
    int columns;
    int direction;
    QSize size;
  } cases[] = {{19, 0, QSize(217, 19)}, {10, 1, QSize(118, 19)}, {2, 1, QSize(30, 19)}};
  for (const auto& c : cases) {
    QWidget window;
    CTickerPanel panel(&window);
    panel.move(37, 52);
    ConfigureAsMainWindowPanel(panel, c.columns, c.direction);
    EXPECT_EQ(panel.size(), c.size) << c.columns;
    EXPECT_EQ(panel.pos(), QPoint(37, 52));
    EXPECT_EQ(panel.columns(), c.columns);
    EXPECT_EQ(panel.direction(), c.direction);
  }
}

TEST(TickerPanel, FitUsesItsArgumentAndFillsOnlyMissingCounts) {
  CTickerPanel panel;
  panel.SetGlyphSize(0);  // 16 x 22 pitch
  panel.resize(50, 30);
  panel.SetColumns(5);
  panel.FitColumns(7);
  EXPECT_EQ(panel.size(), QSize(7 * 16 + 4, 34));
  EXPECT_EQ(panel.columns(), 5);
  panel.FitRows(3);
  EXPECT_EQ(panel.size(), QSize(7 * 16 + 8, 3 * 22 + 4));
  EXPECT_EQ(panel.rows(), 1);

  CTickerPanel fresh;
  fresh.SetGlyphSize(1);
  fresh.FitColumns(4);
  EXPECT_EQ(fresh.columns(), 4);
  EXPECT_EQ(fresh.width(), 4 * 22 + 4);
}

TEST(TickerPanel, GlyphSizeChoosesGeometryAndSheet) {
  const struct {
    int sizeCode;
    int pitchX;
    int pitchY;
    const char* sheet;
  } cases[] = {{2, 11, 15, ":/glyphs-small.png"},
               {0, 16, 22, ":/glyphs-medium.png"},
               {1, 22, 30, ":/glyphs-large.png"},
               {7, 22, 30, ":/glyphs-large.png"},
               {-1, 22, 30, ":/glyphs-large.png"}};
  for (const auto& c : cases) {
    TestSheets sheets;
    CTickerPanel panel(nullptr, sheets.Loader());
    panel.SetGlyphSize(c.sizeCode);
    EXPECT_EQ(panel.columnPitch(), c.pitchX) << c.sizeCode;
    EXPECT_EQ(panel.rowPitch(), c.pitchY) << c.sizeCode;
    panel.SetText("x");
    panel.grab();
    EXPECT_EQ(sheets.requested, QStringList{QString::fromLatin1(c.sheet)}) << c.sizeCode;
  }
}

TEST(TickerPanel, CellsAreTheSheetsCellsRecoloured) {
  TestSheets sheets;
  CTickerPanel panel(nullptr, sheets.Loader());
  panel.SetRows(1);
  panel.SetColumns(10);
  panel.SetGlyphSize(2);
  SetPalette(panel, kTestPalette);
  panel.FitColumns(10);
  panel.FitRows(1);
  // Codes from every sheet row, both ends of the range, the currency glyphs, and two codes
  // without a glyph whose neighbours must keep their places.
  const std::string text = {' ', '{', '}', '\x7f', static_cast<char>(0xA3), '\x1f', 'Z', '@', '0'};
  panel.SetText(text);
  const QImage shot = Shot(panel);
  ASSERT_EQ(shot.size(), QSize(118, 19));
  for (int column = 0; column < static_cast<int>(text.size()); ++column) {
    const int code = static_cast<unsigned char>(text[column]);
    EXPECT_TRUE(CellMatches(shot, column, 0, code, sheets.small, 11, 15, kTestPalette));
  }
  // The tenth cell has no character; the strips right of and below the cells are background.
  EXPECT_TRUE(AreaIs(shot, QRect(99, 0, 19, 19), kTestPalette.back));
  EXPECT_TRUE(AreaIs(shot, QRect(0, 15, 118, 4), kTestPalette.back));
}

TEST(TickerPanel, RowsWrapAfterColumnsAndStopAfterTheLast) {
  TestSheets sheets;
  CTickerPanel panel(nullptr, sheets.Loader());
  panel.SetGlyphSize(0);
  SetPalette(panel, kTestPalette);
  panel.SetText("ABCDEFGH");
  panel.SetColumns(3);
  panel.SetRows(2);
  panel.resize(3 * 16 + 4, 3 * 22);
  const QImage shot = Shot(panel);
  const char* rows[] = {"ABC", "DEF"};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_TRUE(
          CellMatches(shot, column, row, rows[row][column], sheets.medium, 16, 22, kTestPalette));
    }
  }
  EXPECT_TRUE(AreaIs(shot, QRect(0, 44, 52, 22), kTestPalette.back));  // G and H are not drawn
}

TEST(TickerPanel, CellsAreClippedToThePanel) {
  TestSheets sheets;
  CTickerPanel panel(nullptr, sheets.Loader());
  panel.SetGlyphSize(1);
  SetPalette(panel, kTestPalette);
  panel.SetText("QRS");
  panel.resize(50, 20);
  const QImage shot = Shot(panel);
  ASSERT_EQ(shot.size(), QSize(50, 20));
  EXPECT_TRUE(CellMatches(shot, 0, 0, 'Q', sheets.large, 22, 30, kTestPalette));
  EXPECT_TRUE(CellMatches(shot, 2, 0, 'S', sheets.large, 22, 30, kTestPalette));
}

TEST(TickerPanel, PaletteChangeRecoloursWithoutReloadingTheSheet) {
  TestSheets sheets;
  CTickerPanel panel(nullptr, sheets.Loader());
  ConfigureAsMainWindowPanel(panel, 10, 1);
  panel.SetText("BANK $-5");
  EXPECT_TRUE(CellMatches(Shot(panel), 0, 0, 'B', sheets.small, 11, 15, kMainWindowPalette));
  SetPalette(panel, kTestPalette);
  const QImage shot = Shot(panel);
  EXPECT_TRUE(CellMatches(shot, 0, 0, 'B', sheets.small, 11, 15, kTestPalette));
  EXPECT_TRUE(CellMatches(shot, 6, 0, '-', sheets.small, 11, 15, kTestPalette));
  EXPECT_EQ(sheets.requested.size(), 1);
}

TEST(TickerPanel, ScrollingShiftsTheCellsByOnePitch) {
  TestSheets sheets;
  CTickerPanel panel(nullptr, sheets.Loader());
  ConfigureAsMainWindowPanel(panel, 19, 0);
  SetPalette(panel, kTestPalette);
  panel.SetText("Your next bet is");
  panel.OnScrollTimer();
  const QImage shot = Shot(panel);
  const std::string expected = "our next bet is   Y";
  ASSERT_EQ(panel.text(), expected);
  for (int column = 0; column < 19; ++column) {
    EXPECT_TRUE(CellMatches(shot, column, 0, expected[column], sheets.small, 11, 15, kTestPalette));
  }
}

// Renders onto a marked picture, with Qt's own background drawing switched on, to see exactly
// what gets painted.
QImage RenderOverMarker(CTickerPanel& panel) {
  QImage target(panel.size(), QImage::Format_RGB32);
  target.fill(qRgb(1, 2, 3));
  panel.render(&target);
  return target;
}

TEST(TickerPanel, EmptyTextPaintsNothingAtAll) {
  TestSheets sheets;
  CTickerPanel panel(nullptr, sheets.Loader());
  ConfigureAsMainWindowPanel(panel, 10, 1);
  SetPalette(panel, kTestPalette);
  EXPECT_TRUE(AreaIs(RenderOverMarker(panel), panel.rect(), qRgb(1, 2, 3)));
  panel.SetText("A");
  EXPECT_TRUE(AreaIs(RenderOverMarker(panel), QRect(11, 0, 107, 19), kTestPalette.back));
}

TEST(TickerPanel, RealSmallSheetDrawsPoundAndEuro) {
  QImage sheet(QStringLiteral(":/glyphs-small.png"));
  if (sheet.isNull()) {
    sheet.load(QStringLiteral(WHEELWATCHER_SOURCE_DIR "/resources/glyphs-small.png"));
  }
  if (sheet.isNull()) GTEST_SKIP() << "no small glyph sheet yet";
  sheet = sheet.convertToFormat(QImage::Format_RGB32);
  CTickerPanel panel(nullptr, [&sheet](const QString&) { return sheet; });
  ConfigureAsMainWindowPanel(panel, 10, 1);
  SetPalette(panel, kTestPalette);
  panel.SetText("{5 }5");
  const QImage shot = Shot(panel);
  EXPECT_TRUE(CellMatches(shot, 0, 0, '{', sheet, 11, 15, kTestPalette));
  EXPECT_TRUE(CellMatches(shot, 3, 0, '}', sheet, 11, 15, kTestPalette));
}

TEST(TickerPanel, SecondStartKeepsFirstPeriodAndDirection) {
  CTickerPanel panel;
  panel.SetText("SPIN 7");
  panel.StartScrolling(150, 1);
  panel.StartScrolling(40, 0);
  EXPECT_TRUE(panel.isRunning());
  EXPECT_EQ(panel.scrollPeriod(), 150);
  EXPECT_EQ(panel.direction(), 1);
  panel.OnScrollTimer();
  EXPECT_EQ(panel.text(), "SPIN 7");

  panel.StopScrolling();
  EXPECT_FALSE(panel.isRunning());
  panel.StartScrolling(40, 0);
  EXPECT_EQ(panel.scrollPeriod(), 40);
  EXPECT_EQ(panel.direction(), 0);
}

void RunEventsFor(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(TickerPanel, OwnTimerScrollsUntilStopped) {
  CTickerPanel panel;
  const std::string message = "abcdefghijklmnopqrstuvwxyz0123456789";
  panel.SetText(message);
  panel.StartScrolling(10, 0);
  RunEventsFor(120);
  panel.StopScrolling();
  EXPECT_NE(panel.text(), message);
  const std::string stopped = panel.text();
  RunEventsFor(60);
  EXPECT_EQ(panel.text(), stopped);
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST(TickerPanel, RepaintsOnlyWhenTheTextChanged) {
  TestSheets sheets;
  CTickerPanel still(nullptr, sheets.Loader());
  CTickerPanel moving(nullptr, sheets.Loader());
  ConfigureAsMainWindowPanel(still, 10, 1);
  ConfigureAsMainWindowPanel(moving, 10, 0);
  still.StopScrolling();
  moving.StopScrolling();
  still.SetText("SPIN 4");
  moving.SetText("Your next bet");
  still.OnScrollTimer();  // pads the text: a change the panel must show
  EXPECT_EQ(still.text(), "SPIN 4    ");
  still.show();
  moving.show();
  RunEventsFor(30);
  PaintCounter stillPaints;
  PaintCounter movingPaints;
  still.installEventFilter(&stillPaints);
  moving.installEventFilter(&movingPaints);

  for (int tick = 0; tick < 5; ++tick) {
    still.OnScrollTimer();
    moving.OnScrollTimer();
    RunEventsFor(5);
  }
  still.SetText("SPIN 4    ");  // the stored text: nothing new to show
  RunEventsFor(10);
  EXPECT_EQ(stillPaints.paints, 0);
  EXPECT_GE(movingPaints.paints, 1);
}

// Panels share recoloured sheets: panels with different palettes must still each get their own
// colours, in whatever order they are painted, from the one embedded sheet.
TEST(TickerPanel, PanelsOnTheEmbeddedSheetKeepTheirOwnPalettes) {
  const QImage sheet(QStringLiteral(":/glyphs-small.png"));
  const Palette palettes[] = {{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0)},
                              {qRgb(0, 0, 90), qRgb(250, 0, 0), qRgb(0, 70, 0)},
                              {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0)}};
  std::vector<std::unique_ptr<CTickerPanel>> panels;
  for (const Palette& palette : palettes) {
    auto& panel = *panels.emplace_back(std::make_unique<CTickerPanel>());
    ConfigureAsMainWindowPanel(panel, 3, 1);
    SetPalette(panel, palette);
    panel.SetText("8{~");
  }
  for (std::size_t i = 0; i < panels.size(); ++i) {
    SCOPED_TRACE(i);
    const QImage shot = Shot(*panels[i]);
    for (const int column : {0, 1, 2}) {
      EXPECT_TRUE(CellMatches(shot, column, 0, "8{~"[column], sheet, 11, 15, palettes[i]));
    }
  }
}

}  // namespace

}  // namespace wheelwatcher
