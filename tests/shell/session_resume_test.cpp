// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <memory>
#include <string>

#include "app/session_watch.h"
#include "panels/ticker_panel.h"
#include "platform/journal_store.h"
#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

// A run of the program: the real window keeping its session in the state folder, read once the
// window has painted.
struct ProgramRun {
  explicit ProgramRun(const std::string& folder) : journal(folder) {
    driver.Window().KeepSessionIn(journal);
    QTest::qWait(300);
  }
  std::string Panel(int id) {
    return static_cast<CTickerPanel*>(driver.Window().Control(id))->message();
  }
  QStringList History(int id) {
    auto* view = static_cast<QAbstractItemView*>(driver.Window().Control(id));
    QStringList rows;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
      rows << view->model()->index(row, 0).data().toString();
    }
    return rows;
  }
  // The window menu's items; the one starting with `choose`, if given, is chosen.
  QStringList Menu(const QString& choose = {}) {
    QStringList items;
    QTimer::singleShot(0, &driver.Window(), [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (QAction* action : menu->actions()) {
        items << action->text();
        if (!choose.isEmpty() && action->text().startsWith(choose)) action->trigger();
      }
      menu->close();
    });
    const QPoint where(120, 300);
    QContextMenuEvent open(QContextMenuEvent::Mouse, where, driver.Window().mapToGlobal(where));
    QApplication::sendEvent(&driver.Window(), &open);
    return items;
  }
  QList<QMessageBox*> Messages() {
    return driver.Window().findChildren<QMessageBox*>(QStringLiteral("journalMessage"));
  }

  JournalStore journal;
  MainWindowDriver driver;
};

const QString kResume = QStringLiteral("Resume last session");

TEST(SessionResume, OfferedInTheMenuUntilTheFirstSpinAndBringsTheTableBack) {
  QTemporaryDir state;
  const std::string folder = state.filePath(QStringLiteral("wheelwatcher")).toStdString();
  std::string advice, status, bank;
  QStringList red, black;
  {
    ProgramRun played(folder);
    EXPECT_FALSE(played.Menu().join('|').contains(kResume));
    for (int press : {17, 4, 0, 32, 19, region::kRewind, 6}) played.driver.Press(press);
    advice = played.Panel(control::kAdviceTicker);
    status = played.Panel(control::kStatusPanel);
    bank = played.Panel(control::kBankPanel);
    red = played.History(control::kRedColumn);
    black = played.History(control::kBlackColumn);
  }

  ProgramRun next(folder);
  // The window starts as it always does; only its menu knows of the last session.
  EXPECT_EQ(next.Panel(control::kStatusPanel), "SPIN 0");
  EXPECT_EQ(next.Panel(control::kAdviceTicker).rfind(" Welcome to Wheelwatcher", 0), 0u);
  EXPECT_TRUE(next.History(control::kRedColumn).isEmpty());
  EXPECT_TRUE(next.Messages().isEmpty());
  EXPECT_EQ(next.Menu(kResume),
            (QStringList{"Mi&nimize", "&Close", "", "Resume last session (5 spins)",
                         "&Statistics...", "&About Wheelwatcher..."}));
  EXPECT_EQ(next.Panel(control::kAdviceTicker),
            " Session resumed: 5 spins.     " + advice.substr(1));
  EXPECT_EQ(next.Panel(control::kStatusPanel), status);
  EXPECT_EQ(next.Panel(control::kBankPanel), bank);
  EXPECT_EQ(next.History(control::kRedColumn), red);
  EXPECT_EQ(next.History(control::kBlackColumn), black);
  EXPECT_TRUE(next.driver.Window().Control(control::kSavePicture)->isVisible());
  EXPECT_FALSE(next.Menu().join('|').contains(kResume));

  // The resumed session is the last one now; a spin entered instead of resuming begins anew.
  ProgramRun third(folder);
  EXPECT_TRUE(third.Menu().contains(QStringLiteral("Resume last session (5 spins)")));
  third.driver.Press(7);
  EXPECT_FALSE(third.Menu().join('|').contains(kResume));
  EXPECT_EQ(third.Panel(control::kStatusPanel), "SPIN 1");
}

TEST(SessionResume, ADamagedJournalIsSetAsideWithAMessage) {
  QTemporaryDir state;
  const std::string folder = state.filePath(QStringLiteral("wheelwatcher")).toStdString();
  {
    ProgramRun played(folder);
    for (int press : {1, 2, 3}) played.driver.Press(press);
  }
  const std::string journalPath = QDir(QString::fromStdString(folder))
                                      .entryInfoList({QStringLiteral("session-*.journal")})
                                      .value(0)
                                      .filePath()
                                      .toStdString();
  ASSERT_FALSE(journalPath.empty());
  std::ofstream(journalPath, std::ios::binary | std::ios::app) << "spin 99 zz *00000000\nspin 1 -";

  ProgramRun next(folder);
  ASSERT_EQ(next.Messages().size(), 1);
  EXPECT_TRUE(next.Messages()[0]->isVisible());
  EXPECT_TRUE(next.Messages()[0]->text().contains(
      QString::fromStdString(journalPath + ": line 6 is damaged. A fresh session has begun.")))
      << next.Messages()[0]->text().toStdString();
  EXPECT_FALSE(next.Menu().join('|').contains(kResume));
  EXPECT_EQ(next.Panel(control::kStatusPanel), "SPIN 0");
}

TEST(SessionResume, AJournalThatCannotBeWrittenIsToldOnceAndPlayGoesOn) {
  QTemporaryDir state;
  // Where the folder should be lies a file: the journal cannot be made.
  std::ofstream(state.filePath(QStringLiteral("wheelwatcher")).toStdString()) << "in the way";
  ProgramRun run(state.filePath(QStringLiteral("wheelwatcher")).toStdString());
  for (int press : {5, 8, 13}) run.driver.Press(press);
  ASSERT_EQ(run.Messages().size(), 1);
  EXPECT_TRUE(
      run.Messages()[0]->text().startsWith(QStringLiteral("This session is not being kept: ")));
  EXPECT_TRUE(run.Messages()[0]->text().endsWith(QStringLiteral(". Play goes on.")));
  EXPECT_EQ(run.Panel(control::kStatusPanel), "SPIN 3");
}

}  // namespace

namespace {

// A guardrail reached before the break stays reached: the resumed session does not tell it again,
// as the session never interrupted would not.
TEST(SessionResume, AGuardrailReachedBeforeTheBreakIsNotToldAgain) {
  GuardrailLimits limits;
  limits.stopLoss = {true, 1};
  SettingsStore().WriteGuardrailLimits(limits);
  QTemporaryDir state;
  const std::string folder = state.filePath(QStringLiteral("wheelwatcher")).toStdString();
  {
    ProgramRun played(folder);
    for (int press = 1; press <= 36 && played.driver.Tracker().State().bank > -1; ++press) {
      played.driver.Press(press);
    }
    ASSERT_NE(played.driver.Window().Session().GuardrailMessage(), nullptr);
  }
  ProgramRun next(folder);
  next.Menu(kResume);
  ASSERT_LE(next.driver.Tracker().State().bank, -1);
  EXPECT_EQ(next.driver.Window().Session().GuardrailMessage(), nullptr);
  EXPECT_EQ(next.Panel(control::kAdviceTicker).rfind(" Session resumed: ", 0), 0u);
  SettingsStore().WriteGuardrailLimits(GuardrailLimits{});
}

}  // namespace

}  // namespace wheelwatcher
