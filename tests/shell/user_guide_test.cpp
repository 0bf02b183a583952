// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide HELP opens: built beside the program as one page that needs nothing else, whole,
// and saying what the program does. Its tables and its example file are checked against the
// program itself, so the guide cannot drift from the code.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <map>
#include <vector>

#include "engine/bet_code.h"
#include "engine/region_code.h"
#include "online/external_links.h"
#include "online/fixed_addresses.h"
#include "systems/betting_systems.h"
#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

const QString kGuideSource = QStringLiteral(WHEELWATCHER_SOURCE_DIR "/docs/guide/guide.md");

QString BuiltGuide() {
  return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                             .filePath(QString::fromUtf8(kGuideFromExecutable)));
}

QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The guide's source, section by section: each system's heading starts a section of its own.
struct SystemTables {
  std::vector<std::vector<QString>> stakeRows;   // still to win back ("a" or "a to b"), STAKE
  std::vector<std::vector<QString>> losingRuns;  // spins, BANK, next STAKE, chips
};

std::map<int, SystemTables> TablesBySystem(const QString& source) {
  std::map<int, SystemTables> tables;
  int system = 0;
  const QRegularExpression numeric(QStringLiteral("^-?\\d+( to \\d+)?$"));
  for (const QString& line : source.split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1String("#"))) {
      system = 0;
      for (int n = kFirstSystem; n <= kLastSystem; ++n) {
        const QString name = QString::fromStdString(GetSystemName(n, true)).mid(4);  // after "SY  "
        if (line.startsWith(QLatin1String("### ") + name + QLatin1Char(' '))) system = n;
      }
      continue;
    }
    if (system == 0 || !line.startsWith(QLatin1String("| "))) continue;
    std::vector<QString> cells;
    for (const QString& cell : line.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
      cells.push_back(cell.trimmed());
    }
    const bool allNumeric = std::all_of(cells.begin(), cells.end(), [&](const QString& cell) {
      return numeric.match(cell).hasMatch();
    });
    if (!allNumeric) continue;  // a heading row
    if (cells.size() == 2) tables[system].stakeRows.push_back(cells);
    if (cells.size() == 4) tables[system].losingRuns.push_back(cells);
  }
  return tables;
}

// A number on which every chip of the advice loses.
int LosingNumber(BetCode code) {
  const BetCodeParts parts = SplitBetCode(code);
  for (int number = 0; number <= kHighestNumber; ++number) {
    Category category;
    const bool hitsNumber = HasNumberBet(parts) && parts.number == number;
    const bool hitsEven = EvenChanceCategory(parts, &category) && IsInCategory(number, category);
    const bool hitsDozen = DozenColumnCategory(parts, &category) && IsInCategory(number, category);
    if (!hitsNumber && !hitsEven && !hitsDozen) return number;
  }
  return -1;
}

// Before the first spin each SYSTEM press after the first moves on to the next system.
void SelectSystem(MainWindowDriver& driver, int system) {
  for (int press = 0; press < 7 && driver.Tracker().State().systemNumber != system; ++press) {
    driver.Press(region::kSystem);
  }
  ASSERT_EQ(driver.Tracker().State().systemNumber, system);
}

class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QStringList opened;
 public slots:
  void Open(const QUrl& url) { opened << url.toString(); }
};

}  // namespace

TEST(UserGuideTest, BuiltPageHoldsEverySectionWithItsPicturesInside) {
  const QString page = ReadText(BuiltGuide());
  ASSERT_FALSE(page.isEmpty()) << "no guide at " << BuiltGuide().toStdString();

  // Each chapter is in the table of contents; each named part has its heading.
  for (const char* chapter :
       {"getting-started", "the-window", "choosing", "systems", "rewind-clear-save", "settings",
        "statistics", "lab", "screen-reader", "house-edge"}) {
    EXPECT_TRUE(page.contains(QStringLiteral("href=\"#%1\"").arg(chapter))) << chapter;
    EXPECT_TRUE(page.contains(QStringLiteral("<h2 id=\"%1\"").arg(chapter))) << chapter;
  }
  for (const char* part :
       {"choosing-stake", "choosing-system", "stakes", "kavri", "modent", "travo", "vespin",
        "dalque", "rewind", "clear-all", "save", "saved-file"}) {
    EXPECT_TRUE(page.contains(QStringLiteral("<h3 id=\"%1\"").arg(part))) << part;
  }
  const QString text = page.simplified();
  EXPECT_TRUE(text.contains(QStringLiteral("every bet on it loses 2.70 % of the amount staked")));
  EXPECT_TRUE(text.contains(QStringLiteral("support service for problem gambling")));

  // The page needs nothing beside it and nothing from a network: every picture is inside it.
  EXPECT_FALSE(page.contains(QRegularExpression(QStringLiteral("(src|href)=\"(https?:|//)"))));
  EXPECT_FALSE(page.contains(QStringLiteral("<link rel=\"stylesheet\"")));
  const QRegularExpression image(QStringLiteral("<img src=\"([^\"]*)\""));
  int images = 0;
  for (const auto& match : image.globalMatch(page)) {
    ++images;
    const QString source = match.captured(1);
    ASSERT_TRUE(source.startsWith(QLatin1String("data:image/png;base64,")))
        << source.left(80).toStdString();
    const QImage picture = QImage::fromData(
        QByteArray::fromBase64(source.mid(source.indexOf(QLatin1Char(',')) + 1).toLatin1()));
    EXPECT_FALSE(picture.isNull()) << "picture " << images;
  }

  // Every picture the source names lies beside it, and each made it into the page.
  const QString source = ReadText(kGuideSource);
  const QRegularExpression named(QStringLiteral("\\]\\(([^)]+\\.png)\\)"));
  int namedCount = 0;
  for (const auto& match : named.globalMatch(source)) {
    ++namedCount;
    EXPECT_TRUE(QFile::exists(WHEELWATCHER_SOURCE_DIR "/docs/guide/" + match.captured(1)))
        << match.captured(1).toStdString();
  }
  EXPECT_GT(namedCount, 8);
  EXPECT_EQ(images, namedCount);
}

TEST(UserGuideTest, StakeTablesAreTheProgressionTheProgramRuns) {
  const auto tables = TablesBySystem(ReadText(kGuideSource));
  for (int system = kFirstSystem; system <= kLastSystem; ++system) {
    SCOPED_TRACE(GetSystemName(system, false));
    ASSERT_TRUE(tables.count(system));
    ASSERT_GE(tables.at(system).stakeRows.size(), 4u);
    for (const auto& row : tables.at(system).stakeRows) {
      const QStringList range = row[0].split(QStringLiteral(" to "));
      const int from = range.first().toInt();
      const int to = range.last().toInt();
      for (int deficit = from; deficit <= to; ++deficit) {
        EXPECT_EQ(StakeForDeficit(system, 1, deficit), row[1].toInt()) << "deficit " << deficit;
      }
    }
  }
}

// The losing runs as the window shows them: each spin clicked on a number that beats every chip.
TEST(UserGuideTest, LosingRunTablesAreWhatTheWindowShows) {
  const auto tables = TablesBySystem(ReadText(kGuideSource));
  MainWindowDriver driver;
  ASSERT_TRUE(driver.Exposed());
  for (int system = kFirstSystem; system <= kLastSystem; ++system) {
    SCOPED_TRACE(GetSystemName(system, false));
    driver.Press(region::kClearAll);
    SelectSystem(driver, system);
    ASSERT_TRUE(tables.count(system));
    ASSERT_GE(tables.at(system).losingRuns.size(), 4u);
    int spins = 0;
    for (const auto& row : tables.at(system).losingRuns) {
      while (spins < row[0].toInt()) {
        const int number = LosingNumber(driver.Tracker().State().betCodes.back());
        ASSERT_GE(number, 0);
        driver.Press(number);
        ++spins;
      }
      const TableState& state = driver.Tracker().State();
      EXPECT_EQ(state.spinCount, spins);
      EXPECT_EQ(state.bank, row[1].toInt()) << spins << " losing spins";
      EXPECT_EQ(state.stake, row[2].toInt()) << spins << " losing spins";
      EXPECT_EQ(ChipCount(state.betCodes.back()), row[3].toInt()) << spins << " losing spins";
    }
  }
}

// The example is what SAVE writes for its system and spins, line ends included.
TEST(UserGuideTest, SavedFileExampleIsWhatSaveWrites) {
  const QString source = ReadText(kGuideSource);
  const QRegularExpression block(QStringLiteral("```\\{#saved-file-example\\}\n(.*?)\n```"),
                                 QRegularExpression::DotMatchesEverythingOption);
  const QString example = block.match(source).captured(1);
  ASSERT_FALSE(example.isEmpty());
  const QStringList lines = example.split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 4);

  QTemporaryDir folder;
  const QString saveTo = folder.filePath(QStringLiteral("spins.txt"));
  MainWindowDriver driver([&] { return saveTo; });
  ASSERT_TRUE(driver.Exposed());
  int system = 0;
  for (int n = kFirstSystem; n <= kLastSystem; ++n) {
    if (lines[1] == QString::fromStdString(GetSystemName(n, false))) system = n;
  }
  ASSERT_NE(system, 0) << lines[1].toStdString();
  SelectSystem(driver, system);
  const QString spinList = lines[3].mid(QStringLiteral("Spin History ").size());
  for (const QString& spin : spinList.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
    driver.Press(spin.toInt());
  }
  driver.Press(region::kSystem);  // SAVE

  QFile saved(saveTo);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLatin1(saved.readAll()), QString(example).replace("\n", "\r\n"));
}

TEST(HelpTest, PressOnHelpOpensTheGuideBuiltBesideTheProgram) {
  if (kHelpAddress[0] != '\0') GTEST_SKIP() << "built with the help address " << kHelpAddress;
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
  MainWindowDriver driver;
  ASSERT_TRUE(driver.Exposed());
  driver.Press(region::kHelp);
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

  EXPECT_TRUE(driver.Window().isMinimized());
  ASSERT_EQ(recorder.opened.size(), 1);
  const QUrl opened(recorder.opened.first());
  EXPECT_EQ(opened.toLocalFile(), QFileInfo(BuiltGuide()).canonicalFilePath());
  EXPECT_TRUE(QFile::exists(opened.toLocalFile()));
}

TEST(HelpTest, PackagerAddressWinsAndTheInstalledPageIsTheFallback) {
  QTemporaryDir install;
  const QString executableFolder = install.filePath(QStringLiteral("bin"));
  ASSERT_TRUE(QDir().mkpath(executableFolder));
  const QString besidePage =
      QDir::cleanPath(QDir(executableFolder).filePath(QString::fromUtf8(kGuideFromExecutable)));

  // Nothing beside the executable: the page where an install puts it.
  EXPECT_EQ(HelpDocumentAddress("", executableFolder),
            QUrl::fromLocalFile(QString::fromUtf8(kInstalledGuide)).toString().toStdString());

  ASSERT_TRUE(QDir().mkpath(QFileInfo(besidePage).path()));
  QFile page(besidePage);
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.close();
  EXPECT_EQ(
      HelpDocumentAddress("", executableFolder),
      QUrl::fromLocalFile(QFileInfo(besidePage).canonicalFilePath()).toString().toStdString());
  EXPECT_EQ(HelpDocumentAddress("https://guide.example.org/wheelwatcher", executableFolder),
            "https://guide.example.org/wheelwatcher");
}

}  // namespace wheelwatcher

#include "user_guide_test.moc"
