// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

#include "app/about_dialog.h"
#include "app/accessibility.h"
#include "app/accessibility_announcer.h"
#include "app/main_dialog.h"
#include "engine/bet_code.h"
#include "engine/control_ids.h"
#include "online/sockets_layer.h"
#include "online/update_worker.h"
#include "panels/ticker_panel.h"
#include "panels/ticker_panel_accessible.h"
#include "platform/click_sound.h"
#include "platform/settings_store.h"
#include "systems/random_bytes.h"
#include "tests/support/loopback_http_server.h"

namespace wheelwatcher {

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

class ZeroRandomBytes : public RandomBytes {
 public:
  std::uint8_t NextByte() override { return 0; }
};

QAccessibleInterface* FindDescendant(QAccessibleInterface* root,
                                     const std::function<bool(QAccessibleInterface*)>& matches) {
  if (!root) return nullptr;
  for (int i = 0; i < root->childCount(); ++i) {
    QAccessibleInterface* child = root->child(i);
    if (!child) continue;
    if (matches(child)) return child;
    if (QAccessibleInterface* found = FindDescendant(child, matches)) return found;
  }
  return nullptr;
}

QStringList ChildNames(QAccessibleInterface* parent) {
  QStringList names;
  for (int i = 0; i < parent->childCount(); ++i) names << parent->child(i)->text(QAccessible::Name);
  return names;
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallAccessibleInterfaces(); }

  void Open() {
    QSettings("KORMEL", "Wheelwatcher").clear();
    window_ = std::make_unique<CMainDialog>(MainDialogServices{
        .random = random_,
        .clickSound = click_,
        .settings = settings_,
        .versionText = "V 5.004",
        .localeCurrencySymbol = "\u00a3",
        .runSaveDialog = {},
        .reportSaveFailure = {},
        .startUpdateCheck = {},
        .helpAddress = {},
        .casinoAddresses = {},
    });
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  QAccessibleInterface* Window() const {
    return QAccessible::queryAccessibleInterface(window_.get());
  }
  QAccessibleInterface* Named(QAccessible::Role role, const QString& name) const {
    return FindDescendant(Window(), [&](QAccessibleInterface* candidate) {
      return candidate->role() == role && candidate->text(QAccessible::Name) == name;
    });
  }
  QString PanelSays(const char* description) const {
    QAccessibleInterface* panel = FindDescendant(Window(), [&](QAccessibleInterface* candidate) {
      return candidate->text(QAccessible::Description) == QLatin1String(description);
    });
    return panel && panel->role() == QAccessible::StaticText ? panel->text(QAccessible::Name)
                                                             : QStringLiteral("<no panel>");
  }
  QAccessibleInterface* Column(const char* name) const {
    return Named(QAccessible::List, QLatin1String(name));
  }
  // Presses a button of the layout through its accessible action, as a screen reader would.
  void Press(const QString& name) {
    QAccessibleInterface* button = Named(QAccessible::Button, name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    ASSERT_EQ(button->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
    const int clicksBefore = clicks_;
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks_ > clicksBefore; }, 2000)) << "no click";
  }
  CTickerPanel* Panel(int id) const { return static_cast<CTickerPanel*>(window_->Control(id)); }

  ZeroRandomBytes random_;
  int clicks_ = 0;
  // No wave: every click the window plays is counted instead.
  ClickSound click_{QByteArray(), [this] { ++clicks_; }};
  SettingsStore settings_;
  std::unique_ptr<CMainDialog> window_;
};

TEST(SpokenPanelText, SaysTheCurrencyAndLeavesOutPaddingAndCellsWithoutGlyphs) {
  const struct {
    std::string message;
    QString spoken;
  } cases[] = {
      {"BANK {-12", QString::fromUtf8("BANK \u00a3-12")},
      {"STAKE }5", QString::fromUtf8("STAKE \u20ac5")},
      {"BANK $7  ", "BANK $7"},
      {"   ", ""},
      {"A\tB\x7f"
       "C\xe9",
       "A B C"},
  };
  for (const auto& c : cases) EXPECT_EQ(SpokenPanelText(c.message), c.spoken) << c.message;
}

TEST_F(AccessibilityTest, AfterStartUpTheWindowReadsAsPanelsListsAndTheLayoutsButtons) {
  Open();
  QAccessibleInterface* window = Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  // The layout, three History columns, four panels and the notification that says what changed;
  // the highlight and face pictures are left out.
  QList<QAccessible::Role> roles;
  for (int i = 0; i < window->childCount(); ++i) roles << window->child(i)->role();
  EXPECT_EQ(roles.count(QAccessible::Grouping), 1);
  EXPECT_EQ(roles.count(QAccessible::List), 3);
  EXPECT_EQ(roles.count(QAccessible::StaticText), 4);
  EXPECT_EQ(roles.count(QAccessible::Notification), 1);
  EXPECT_EQ(roles.size(), 9);

  QAccessibleInterface* layout = Named(QAccessible::Grouping, "Layout");
  ASSERT_NE(layout, nullptr);
  const QStringList names = ChildNames(layout);
  ASSERT_EQ(names.size(), 43);
  EXPECT_EQ(names.mid(0, 4), (QStringList{"0 green", "1 red", "2 black", "3 red"}));
  EXPECT_EQ(names[17], "17 black");
  EXPECT_EQ(names[36], "36 red");
  EXPECT_EQ(names.mid(37),
            (QStringList{"HELP", "SYSTEM", "STAKE", "REWIND", "CLEAR ALL", "LIVE WHEEL"}));
  // A button that leaves the window says so before it is pressed.
  EXPECT_TRUE(layout->child(42)->text(QAccessible::Description).contains("browser"));

  // Each area where it lies on the screen: its box in the hit map, moved with the window.
  const QPoint origin = window_->mapToGlobal(QPoint(0, 0));
  const struct {
    const char* name;
    QRect area;
  } places[] = {{"17 black", {97, 233, 27, 26}},
                {"12 red", {130, 178, 20, 20}},
                {"0 green", {68, 44, 85, 40}},
                {"REWIND", {139, 524, 64, 25}},
                {"HELP", {211, 348, 64, 26}}};
  for (const auto& place : places) {
    QAccessibleInterface* button = Named(QAccessible::Button, place.name);
    ASSERT_NE(button, nullptr) << place.name;
    EXPECT_EQ(button->rect(), place.area.translated(origin)) << place.name;
    EXPECT_EQ(layout->childAt(button->rect().center().x(), button->rect().center().y()), button);
    EXPECT_EQ(layout->indexOfChild(button), names.indexOf(place.name));
  }

  EXPECT_TRUE(PanelSays("Advice").startsWith("Welcome to Wheelwatcher, try our recommended"));
  QAccessibleInterface* focus = window->focusChild();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(focus->text(QAccessible::Description), "Advice");
  EXPECT_TRUE(focus->state().focused);
  // Keys still reach the window, where Enter and Escape do nothing.
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_TRUE(window_->isVisible()) << key;
  }
  EXPECT_EQ(PanelSays("Status"), "SPIN 0");
  EXPECT_EQ(PanelSays("Bank"), QString::fromUtf8("BANK \u00a30"));
  for (const char* column : {"History, red", "History, zero", "History, black"}) {
    ASSERT_NE(Column(column), nullptr) << column;
    EXPECT_EQ(Column(column)->childCount(), 0) << column;
  }
}

TEST_F(AccessibilityTest, PressingNumbersAndRewindGoesTheWayOfAClick) {
  Open();
  Press("17 black");
  EXPECT_EQ(clicks_, 1);
  ASSERT_EQ(window_->Tracker().State().spins, std::vector<int>{17});
  EXPECT_EQ(PanelSays("Status"), "SPIN 1");
  EXPECT_EQ(PanelSays("Bank"),
            QString::fromUtf8("BANK \u00a3%1").arg(window_->Tracker().State().bank));
  EXPECT_EQ(PanelSays("Advice"), SpokenPanelText(Panel(control::kAdviceTicker)->message()));
  EXPECT_EQ(ChildNames(Column("History, black")), QStringList{"17"});
  EXPECT_EQ(ChildNames(Column("History, red")), QStringList{""});
  // Play has started: SYSTEM now saves and STAKE does nothing, as the faces show.
  EXPECT_NE(Named(QAccessible::Button, "SAVE"), nullptr);
  EXPECT_EQ(Named(QAccessible::Button, "SYSTEM"), nullptr);
  EXPECT_TRUE(Named(QAccessible::Button, "STAKE")->state().disabled);

  // Newest first; an item stays the same spin while newer ones push it down.
  QAccessibleInterface* seventeen = Column("History, black")->child(0);
  Press("32 red");
  Press("0 green");
  EXPECT_EQ(ChildNames(Column("History, red")), (QStringList{"", "32", ""}));
  EXPECT_EQ(ChildNames(Column("History, zero")), (QStringList{"0", "", ""}));
  EXPECT_EQ(ChildNames(Column("History, black")), (QStringList{"", "", "17"}));
  EXPECT_EQ(Column("History, black")->child(2), seventeen);
  EXPECT_EQ(Column("History, black")->indexOfChild(seventeen), 2);
  EXPECT_EQ(seventeen->text(QAccessible::Name), "17");

  const QAccessible::Id newest = QAccessible::uniqueId(Column("History, zero")->child(0));
  Press("REWIND");
  EXPECT_EQ(clicks_, 4);
  EXPECT_EQ(window_->Tracker().State().spins, (std::vector<int>{17, 32}));
  EXPECT_EQ(PanelSays("Status"), "SPIN 2");
  EXPECT_EQ(ChildNames(Column("History, zero")), (QStringList{"", ""}));
  EXPECT_EQ(QAccessible::accessibleInterface(newest), nullptr);  // that spin is gone
  EXPECT_EQ(Column("History, black")->child(1), seventeen);

  Press("REWIND");
  Press("REWIND");
  EXPECT_TRUE(window_->Tracker().State().spins.empty());
  EXPECT_EQ(Column("History, black")->childCount(), 0);
  EXPECT_EQ(PanelSays("Status"), "SPIN 0");
  EXPECT_NE(Named(QAccessible::Button, "SAVE"), nullptr);  // only CLEAR ALL starts afresh

  Press("CLEAR ALL");
  EXPECT_NE(Named(QAccessible::Button, "SYSTEM"), nullptr);
  EXPECT_FALSE(Named(QAccessible::Button, "STAKE")->state().disabled);
}

// Orca drops name changes of labels, so what a press changed is said by the notification, once and
// whole: what was pressed, then the status, BANK and advice texts that changed. Blinks say nothing.
TEST_F(AccessibilityTest, EachPressIsAnnouncedOnceWithWhatItChanged) {
  Open();
  auto* announcer = window_->findChild<AccessibleAnnouncer*>();
  ASSERT_NE(announcer, nullptr);
  QAccessibleInterface* notification = QAccessible::queryAccessibleInterface(announcer);
  ASSERT_EQ(notification->role(), QAccessible::Notification);
  QStringList said;
  QObject::connect(announcer, &AccessibleAnnouncer::announced,
                   [&](const QString& text) { said << text; });
  const auto advice = [&] { return SpokenPanelText(Panel(control::kAdviceTicker)->message()); };
  const auto advisedNumber = [&] {
    return QString::number(SplitBetCode(window_->Tracker().State().betCodes.back()).number);
  };

  // Idle: the panels scroll and the advised number blinks, but it reads steady and nothing is said.
  for (int tick = 0; tick < 5; ++tick) {
    EXPECT_EQ(PanelSays("Advised number"), advisedNumber()) << tick;
    QTest::qWait(260);
  }
  EXPECT_EQ(said, QStringList{});

  Press("STAKE");
  QTest::qWait(50);
  Press("STAKE");
  QTest::qWait(50);
  EXPECT_EQ(said, (QStringList{"STAKE \u00a31", "STAKE \u00a32"}));
  // The stake window closes: SPIN and the advice with the new stake come back, said once.
  ASSERT_TRUE(QTest::qWaitFor([&] { return said.size() == 3; }, 4000));
  EXPECT_EQ(said.last(), "SPIN 0. " + advice());
  EXPECT_TRUE(advice().contains("\u00a32 on")) << advice().toStdString();

  Press("17 black");
  QTest::qWait(50);
  ASSERT_EQ(said.size(), 4);
  EXPECT_EQ(said.last(), QString("17 black. SPIN 1. BANK \u00a3%1. %2")
                             .arg(window_->Tracker().State().bank)
                             .arg(advice()));
  EXPECT_EQ(notification->text(QAccessible::Name), said.last());
  EXPECT_EQ(PanelSays("Advised number"), advisedNumber());

  Press("REWIND");
  QTest::qWait(50);
  ASSERT_EQ(said.size(), 5);
  EXPECT_EQ(said.last(), "REWIND. SPIN 0. BANK \u00a30. " + advice());
  Press("REWIND");  // nothing left to take back: nothing changes, nothing is said
  QTest::qWait(50);
  EXPECT_EQ(said.size(), 5);
}

// A panel's name is its whole message: scrolling and padding never change it, and it follows each
// new message. (That the bridge is told once per new message is checked on the real bridge, in
// tests/desktop: offscreen, Qt has no platform accessibility and passes no event on.)
TEST_F(AccessibilityTest, APanelsNameIsItsWholeMessageWhereverItHasScrolled) {
  Open();
  CTickerPanel* advice = Panel(control::kAdviceTicker);
  const QString before = PanelSays("Advice");
  for (int step = 0; step < 40; ++step) advice->OnScrollTimer();
  EXPECT_NE(advice->text(), advice->message());
  EXPECT_EQ(PanelSays("Advice"), before);
  Press("17 black");
  EXPECT_NE(PanelSays("Advice"), before);
  EXPECT_EQ(PanelSays("Advice"), SpokenPanelText(advice->message()));
}

TEST_F(AccessibilityTest, TheAboutBoxAndTheUpdateQuestionAreReadable) {
  CAboutDialog about;
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&about);
  EXPECT_EQ(box->text(QAccessible::Name), "About Wheelwatcher");
  QAccessibleInterface* picture = FindDescendant(
      box, [](QAccessibleInterface* child) { return child->role() == QAccessible::Graphic; });
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->text(QAccessible::Name), "Wheelwatcher V 5.004");
  EXPECT_EQ(picture->text(QAccessible::Description), "roulette spin tracker");

  setenv("no_proxy", "127.0.0.1", 1);
  SocketsLayer sockets;
  ASSERT_TRUE(sockets.Start());
  LoopbackHttpServer server([](const LoopbackHttpServer::Connection& connection) {
    connection.Send(LoopbackHttpServer::Response(
        200,
        "<Program_Name>Wheelwatcher</Program_Name><Program_Version>5.0.0.5</Program_Version>"
        "<Primary_Download_URL>http://example.com/w.tar.gz</Primary_Download_URL>"));
  });
  struct : UpdateCheckObserver {
    void OnUpdateCheckStarted() override {}
    void OnUpdateCheckFinished() override {}
  } observer;
  QPointer<QMessageBox> question;
  UpdateCheckOptions options;
  options.port = server.port();
  options.onQuestionShown = [&](QMessageBox& shown) { question = &shown; };
  auto worker = StartUpdateCheck("http://127.0.0.1/u.xml", "V 5.004", observer, options);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !question.isNull(); }, 5000));
  QAccessibleInterface* asked = QAccessible::queryAccessibleInterface(question.data());
  EXPECT_NE(FindDescendant(asked,
                           [](QAccessibleInterface* child) {
                             return child->text(QAccessible::Name)
                                 .startsWith("An update of Wheelwatcher is now available.");
                           }),
            nullptr);
  for (const char* answer : {"Yes", "No"}) {
    EXPECT_NE(FindDescendant(asked,
                             [&](QAccessibleInterface* child) {
                               return child->role() == QAccessible::Button &&
                                      child->text(QAccessible::Name).remove('&') == answer &&
                                      child->actionInterface();
                             }),
              nullptr)
        << answer;
  }
  worker.reset();
}

}  // namespace

}  // namespace wheelwatcher
