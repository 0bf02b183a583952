// SPDX-License-Identifier: GPL-3.0-or-later
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <deque>
#include <memory>
#include <thread>

#include "app/main_dialog.h"
#include "engine/control_ids.h"
#include "online/sockets_layer.h"
#include "online/update_worker.h"
#include "panels/ticker_panel.h"
#include "platform/click_sound.h"
#include "platform/settings_store.h"
#include "systems/random_bytes.h"
#include "tests/shell/alsa_to_file.h"
#include "tests/shell/full_disk.h"
#include "tests/support/loopback_http_server.h"

namespace wheelwatcher {

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

class ScriptedRandomBytes : public RandomBytes {
 public:
  std::deque<std::uint8_t> bytes;
  std::uint8_t NextByte() override {
    if (bytes.empty()) return 0;
    const std::uint8_t next = bytes.front();
    bytes.pop_front();
    return next;
  }
};

QByteArray ClickWave() {
  QFile wave(QStringLiteral(":/click.wav"));
  return wave.open(QIODevice::ReadOnly) ? wave.readAll() : QByteArray();
}

constexpr QPoint kNumber17(110, 245);
constexpr QPoint kGapBetween1And2(95, 100);
constexpr QPoint kFirstDozenBox(50, 150);
constexpr QPoint kRedDiamond(168, 230);
constexpr QPoint kSystemButton(242, 395);
constexpr QPoint kStakeButton(242, 430);
constexpr QPoint kRewindButton(170, 536);
constexpr QPoint kClearAllButton(242, 536);

class MainDialogTest : public ::testing::Test {
 protected:
  // Opens the window on a settings file holding `settings` as written by hand; none when null.
  void Open(const QByteArray& settings = QByteArray()) {
    QFile::remove(SettingsPath());
    if (!settings.isNull()) {
      QDir().mkpath(QFileInfo(SettingsPath()).path());
      QFile file(SettingsPath());
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(settings);
    }
    dialog = std::make_unique<CMainDialog>(MainDialogServices{
        .random = random,
        .clickSound = click,
        .settings = store,
        .versionText = "V 5.004",
        .localeCurrencySymbol = "$",
        .runSaveDialog =
            [this](QFileDialog& fileDialog) {
              savedDialogSuffix = fileDialog.defaultSuffix();
              savedDialogName = QFileInfo(fileDialog.selectedFiles().value(0)).fileName();
              savedDialogFilters = fileDialog.nameFilters();
              savedDialogConfirmsOverwrite =
                  !fileDialog.testOption(QFileDialog::DontConfirmOverwrite);
              return saveAs;
            },
        .reportSaveFailure = [this](const QString& reason) { saveFailures << reason; },
        .startUpdateCheck = startUpdateCheck,
        .helpAddress = "http://help.example.com/guide.pdf",
        .casinoAddresses = {"http://one.example.com/", "http://two.example.com/",
                            "http://two.example.com/live"},
    });
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }

  static QString SettingsPath() {
    return QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME")) + "/KORMEL/Wheelwatcher.conf";
  }
  static QByteArray SettingsFile() {
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QString PanelText(int id) const {
    return QString::fromStdString(static_cast<CTickerPanel*>(dialog->Control(id))->text());
  }
  bool Visible(int id) const { return dialog->Control(id)->isVisible(); }

  // Presses the window where a player would, so overlays and panels on top take part.
  void Press(QPoint where) {
    QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, where);
    // Apart from the click, a double-click must not turn two quick presses into one.
    QTest::qWait(QApplication::doubleClickInterval() / 10);
  }

  QStringList HistoryColumn(int id) const {
    auto* view = static_cast<QAbstractItemView*>(dialog->Control(id));
    QStringList rows;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
      rows << view->model()->index(row, 0).data().toString();
    }
    return rows;
  }

  ScriptedRandomBytes random;
  ClickSound click{ClickWave(), [] {}};
  SettingsStore store;
  std::unique_ptr<CMainDialog> dialog;
  QString saveAs;
  QString savedDialogSuffix;
  QString savedDialogName;
  QStringList savedDialogFilters;
  bool savedDialogConfirmsOverwrite = false;
  QStringList saveFailures;
  std::function<std::unique_ptr<CUpdateWorker>(UpdateCheckObserver&, QWidget&)> startUpdateCheck;
};

class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QStringList opened;
 public slots:
  void Open(const QUrl& url) { opened << url.toString(); }
};

constexpr int kOverlays[] = {1001, 1009, 1010, 1011, 1012, 1013, 1014,
                             1015, 1017, 1018, 1019, 1020, 1030};

}  // namespace

TEST_F(MainDialogTest, StartsWithEverythingInPlaceAndHidden) {
  Open();
  EXPECT_EQ(dialog->size(), QSize(280, 560));
  EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(dialog->windowType(), Qt::Window);  // its own task-list entry, not a dialog
  EXPECT_EQ(dialog->windowModality(), Qt::NonModal);
  EXPECT_EQ(dialog->windowTitle(), "V 5.004 Wheelwatcher  ");
  for (int id : kOverlays) EXPECT_FALSE(Visible(id)) << id;
  EXPECT_FALSE(Visible(control::kSavePicture));
  EXPECT_FALSE(Visible(control::kGreyedSystem));
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SPIN 0");
  EXPECT_EQ(PanelText(control::kBankPanel).trimmed(), "BANK $0");
  EXPECT_TRUE(PanelText(control::kAdviceTicker).contains("Welcome to Wheelwatcher"));
  EXPECT_EQ(dialog->Control(control::kAdviceTicker)->geometry(), QRect(8, 14, 217, 19));
  EXPECT_EQ(dialog->Control(control::kNumberPanel)->geometry(), QRect(14, 54, 30, 19));
  EXPECT_EQ(dialog->Control(control::kStatusPanel)->geometry(), QRect(8, 493, 118, 19));
  EXPECT_EQ(dialog->Control(control::kBankPanel)->geometry(), QRect(8, 529, 118, 19));
  // The highlight overlays and button faces, each the size of its picture, at the control
  // table's places.
  const std::pair<int, QRect> overlays[] = {
      {1009, {38, 88, 27, 113}},  {1010, {38, 205, 27, 111}}, {1011, {38, 320, 27, 113}},
      {1012, {156, 88, 26, 55}},  {1013, {156, 146, 26, 55}}, {1014, {156, 205, 26, 54}},
      {1001, {156, 263, 26, 55}}, {1017, {156, 320, 26, 54}}, {1018, {156, 380, 26, 55}},
      {1015, {68, 436, 26, 36}},  {1019, {98, 436, 26, 35}},  {1020, {128, 436, 26, 36}},
      {1030, {226, 9, 50, 24}},   {1021, {210, 380, 66, 30}}, {1022, {210, 414, 66, 30}},
  };
  for (const auto& [id, place] : overlays) EXPECT_EQ(dialog->Control(id)->geometry(), place) << id;
}

TEST_F(MainDialogTest, PanelsShowOneRowOfSmallWhiteGlyphsPaddedWithBlanks) {
  Open();
  const struct {
    int id;
    int columns;
    int direction;
  } panels[] = {{control::kAdviceTicker, 19, 0},
                {control::kNumberPanel, 2, 1},
                {control::kStatusPanel, 10, 1},
                {control::kBankPanel, 10, 1}};
  for (const auto& each : panels) {
    const auto* panel = static_cast<CTickerPanel*>(dialog->Control(each.id));
    EXPECT_EQ(panel->rows(), 1) << each.id;
    EXPECT_EQ(panel->columns(), each.columns) << each.id;
    EXPECT_EQ(panel->direction(), each.direction) << each.id;
    EXPECT_EQ(panel->columnPitch(), 11) << each.id;
    EXPECT_EQ(panel->rowPitch(), 15) << each.id;
    EXPECT_TRUE(panel->isRunning()) << each.id;
    EXPECT_EQ(panel->scrollPeriod(), 150) << each.id;
  }
  // The first scroll tick pads a still panel's text with blanks up to its columns.
  QTRY_COMPARE_WITH_TIMEOUT(PanelText(control::kStatusPanel), QString("SPIN 0    "), 1000);

  // Lit dots white, unlit dots and background black.
  const QImage status = dialog->Control(control::kStatusPanel)->grab().toImage();
  int white = 0;
  for (int y = 0; y < status.height(); ++y) {
    for (int x = 0; x < status.width(); ++x) {
      const QRgb pixel = status.pixel(x, y) & 0xFFFFFF;
      ASSERT_TRUE(pixel == 0 || pixel == 0xFFFFFF) << x << "," << y;
      if (pixel != 0) ++white;
    }
  }
  EXPECT_GT(white, 0);
  // The last cell holds a padding blank: all its dots are unlit, so all black.
  for (int y = 0; y < 15; ++y) {
    for (int x = 9 * 11; x < 10 * 11; ++x) {
      ASSERT_EQ(status.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
    }
  }
}

TEST_F(MainDialogTest, PressOnANumberPlaysTheClickAndEntersTheSpin) {
  AlsaDefaultToFile alsa;
  Open();  // system 1 with zero bytes: the first bet is one chip on 0
  Press(kNumber17);
  QTRY_COMPARE_WITH_TIMEOUT(alsa.Played(), ClickWave().mid(44), 2000);
  EXPECT_EQ(HistoryColumn(control::kBlackColumn), QStringList{"17"});
  EXPECT_EQ(HistoryColumn(control::kRedColumn), QStringList{""});
  EXPECT_EQ(HistoryColumn(control::kZeroColumn), QStringList{""});
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SPIN 1");
  EXPECT_EQ(PanelText(control::kBankPanel).trimmed(), "BANK $-1");
  EXPECT_TRUE(Visible(control::kSavePicture));
  EXPECT_TRUE(Visible(control::kGreyedSystem));
}

TEST_F(MainDialogTest, ASoundDeviceHeldByAnotherProgramNeverHoldsUpAPress) {
  AlsaDefaultToFile alsa(AlsaDefaultToFile::Sharing::kExclusive);
  Open();
  Press(kNumber17);  // the device is free: the clip is played in full
  // The click began, the device open, before the press went on to the spin.
  EXPECT_EQ(alsa.OpenModes(), QList<QByteArray>{"nonblock"});
  QTRY_COMPARE_WITH_TIMEOUT(alsa.Played(), ClickWave().mid(44), 2000);

  // Another program takes the device and keeps it for two seconds.
  snd_pcm_t* held = nullptr;
  ASSERT_EQ(snd_pcm_open(&held, "default", SND_PCM_STREAM_PLAYBACK, 0), 0);
  std::thread otherProgram([held] {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    snd_pcm_close(held);
  });
  const auto start = std::chrono::steady_clock::now();
  QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, kNumber17);
  const auto pressTook = std::chrono::steady_clock::now() - start;
  otherProgram.join();
  EXPECT_LT(pressTook, std::chrono::milliseconds(100));
  EXPECT_EQ(dialog->Tracker().State().spinCount, 2);
  QTRY_COMPARE_WITH_TIMEOUT(alsa.OpenModes().size(), 3, 2000);
  // The window's opens asked not to wait; the other program's open was a plain one.
  EXPECT_EQ(alsa.OpenModes(), (QList<QByteArray>{"nonblock", "block", "nonblock"}));
}

// A sound device that blocks for good (a stalled sound server) costs the clicks, never a press or
// the close.
TEST_F(MainDialogTest, ASoundDeviceThatBlocksHoldsUpNoPressAndNotTheClose) {
  BlockingAlsaDefault device;
  Open();
  const auto start = std::chrono::steady_clock::now();
  Press(kNumber17);
  Press(QPoint(113, 60));  // zero
  Press(kRewindButton);
  EXPECT_EQ(dialog->Tracker().State().spins, std::vector<std::int32_t>{17});
  dialog->close();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// Only the click counts: the second press of a double-click enters nothing.
TEST_F(MainDialogTest, ADoubleClickOnANumberEntersOneSpin) {
  Open();
  QTest::mouseDClick(dialog->windowHandle(), Qt::LeftButton, {}, kNumber17);
  EXPECT_EQ(dialog->Tracker().State().spins, std::vector<std::int32_t>{17});
}

TEST_F(MainDialogTest, PressesOutsideEveryAreaDoNothingNotEvenTheSound) {
  AlsaDefaultToFile alsa;
  Open();
  const auto betCodes = dialog->Tracker().State().betCodes;
  for (QPoint where : {kGapBetween1And2, kFirstDozenBox, kRedDiamond, QPoint(110, 44)}) {
    Press(where);
  }
  EXPECT_TRUE(alsa.Played().isEmpty());
  EXPECT_EQ(dialog->Tracker().State().spinCount, 0);
  EXPECT_EQ(dialog->Tracker().State().betCodes, betCodes);
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SPIN 0");
}

TEST_F(MainDialogTest, RewindAndClearAllByTheirButtons) {
  Open();
  Press(kNumber17);
  Press(QPoint(113, 60));  // zero
  EXPECT_EQ(HistoryColumn(control::kZeroColumn), (QStringList{"0", ""}));
  Press(kRewindButton);
  EXPECT_EQ(HistoryColumn(control::kBlackColumn), QStringList{"17"});
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SPIN 1");
  Press(kClearAllButton);
  EXPECT_TRUE(HistoryColumn(control::kBlackColumn).isEmpty());
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SPIN 0");
  EXPECT_FALSE(Visible(control::kSavePicture));
  EXPECT_FALSE(Visible(control::kGreyedSystem));
}

TEST_F(MainDialogTest, StakeAndSystemWindowsCloseAfterTheirTimers) {
  Open();
  Press(kStakeButton);
  Press(kStakeButton);
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "STAKE $2");
  Press(kSystemButton);
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SY  KAVRI");
  QTRY_VERIFY_WITH_TIMEOUT(
      !dialog->Tracker().StakeChangeWindowOpen() && !dialog->Tracker().SystemChangeWindowOpen(),
      3000);
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SPIN 0");
  EXPECT_TRUE(PanelText(control::kAdviceTicker).contains("$2 on (0)"));
}

TEST_F(MainDialogTest, TimerOneBlinksTheAdvice) {
  random.bytes = {17};
  Open();
  // The first tick hides, the second shows: before the first spin the LIVE WHEEL face blinks too.
  QTRY_VERIFY_WITH_TIMEOUT(Visible(control::kFadedLiveWheel), 1500);
  EXPECT_EQ(PanelText(control::kNumberPanel).trimmed(), "17");
  QTRY_VERIFY_WITH_TIMEOUT(!Visible(control::kFadedLiveWheel), 1000);
  EXPECT_EQ(PanelText(control::kNumberPanel).trimmed(), "");
}

TEST_F(MainDialogTest, HandCursorOverNumbersAndButtonsArrowOverFelt) {
  Open();
  QWidget* picture = dialog->Control(control::kLayoutPicture);
  QTest::mouseMove(dialog->windowHandle(), kNumber17);
  EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(dialog->windowHandle(), kFirstDozenBox);
  EXPECT_EQ(picture->cursor().shape(), Qt::ArrowCursor);
  QTest::mouseMove(dialog->windowHandle(), kClearAllButton);
  EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(MainDialogTest, ExportsThroughTheSaveDialogAndReportsAFailedWrite) {
  QTemporaryDir folder;
  Open();
  Press(kNumber17);
  saveAs = folder.filePath("history.txt");
  Press(kSystemButton);
  EXPECT_EQ(savedDialogName, "Wheelwatcher Spin History.txt");  // the default name, suffix added
  EXPECT_EQ(savedDialogSuffix, "txt");
  EXPECT_EQ(savedDialogFilters, QStringList{"Text files (*.txt)"});
  EXPECT_TRUE(savedDialogConfirmsOverwrite);
  QFile written(saveAs);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_TRUE(
      written.readAll().startsWith("\r\nYou are using system KAVRI\r\n\r\nSpin History 17, "));
  EXPECT_TRUE(saveFailures.isEmpty());

  saveAs = folder.filePath("no-such-folder/history.txt");
  Press(kSystemButton);
  EXPECT_EQ(saveFailures.size(), 1);

  saveAs.clear();  // cancelled
  Press(kSystemButton);
  EXPECT_EQ(saveFailures.size(), 1);
}

// A full disk: SAVE says so, and an export the player chose to overwrite stays as it was.
TEST_F(MainDialogTest, SaveOnAFullDiskSaysSoAndKeepsTheEarlierExport) {
  SmallDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  saveAs = disk.QPath("history.txt");
  SmallDisk::Write(saveAs, "an earlier export");
  disk.Fill();
  Open();
  Press(kNumber17);
  Press(kSystemButton);
  EXPECT_EQ(saveFailures, QStringList{"No space left on device"});
  EXPECT_EQ(SmallDisk::Read(saveAs), "an earlier export");
  EXPECT_EQ(disk.Leftovers({"history.txt"}), QStringList{});
}

TEST_F(MainDialogTest, StoredSystemIsReadAndWrittenBackAsItWas) {
  // Hand-edited files: the value and every other line come back byte for byte.
  const auto file = [](const char* value) {
    return QByteArray("; kept\n[Settings]\nSYSTEM=") + value + "\r\nOther=\"x, y\"\n";
  };
  const struct {
    const char* stored;
    int system;
  } cases[] = {{"3", 3}, {"7", 1},   {" 4", 4},      {"abc", 1}, {"-2", 1},
               {"0", 1}, {"2;x", 2}, {"\"a,b\"", 1}, {"", 1}};
  for (const auto& each : cases) {
    Open(file(each.stored));
    EXPECT_EQ(dialog->Tracker().State().systemNumber, each.system) << each.stored;
    dialog->close();
    EXPECT_EQ(SettingsFile(), file(each.stored));
  }
  // Without a stored value the program starts with system 1 and stores it at close.
  Open();
  EXPECT_EQ(dialog->Tracker().State().systemNumber, 1);
  dialog->close();
  EXPECT_EQ(SettingsFile(), "[Settings]\nSYSTEM=1\n");
  // A SYSTEM press before the first spin stores the system in use, even unchanged.
  Open(file("7"));
  Press(kSystemButton);
  EXPECT_EQ(PanelText(control::kStatusPanel).trimmed(), "SY  KAVRI");
  dialog->close();
  EXPECT_EQ(SettingsFile(), file("1"));
}

// The update question is the window's own; Enter and Escape in the window must neither close the
// window nor answer the question, whose Yes is the default button.
TEST_F(MainDialogTest, EnterAndEscapeDoNothingEvenWithTheUpdateQuestionOpen) {
  SocketsLayer sockets;
  ASSERT_TRUE(sockets.Start());
  setenv("no_proxy", "127.0.0.1", 1);
  LoopbackHttpServer server([](const LoopbackHttpServer::Connection& connection) {
    connection.Send(LoopbackHttpServer::Response(
        200,
        "<Program_Version>5.0.0.5</Program_Version><Primary_Download_URL>"
        "http://downloads.example.com/w.tar.gz</Primary_Download_URL><end>"));
  });
  QPointer<QMessageBox> question;
  startUpdateCheck = [&](UpdateCheckObserver& observer, QWidget& owner) {
    return StartUpdateCheck(
        "http://127.0.0.1/update.xml", "V 5.004", observer,
        UpdateCheckOptions{.port = server.port(),
                           .questionOwner = &owner,
                           .onQuestionShown = [&](QMessageBox& box) { question = &box; }});
  };
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler("http", &recorder, "Open");
  Open();
  QTRY_VERIFY_WITH_TIMEOUT(!question.isNull(), 5000);
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QTest::keyClick(dialog.get(), key);
    EXPECT_TRUE(dialog->isVisible()) << key;
    EXPECT_FALSE(question.isNull()) << key;
  }
  QTest::qWait(100);
  EXPECT_TRUE(recorder.opened.isEmpty());
  EXPECT_EQ(dialog->Tracker().BusyCount(), 1);
  EXPECT_TRUE(dialog->Tracker().State().spins.empty());
  QDesktopServices::unsetUrlHandler("http");
}

TEST_F(MainDialogTest, HelpAndLiveWheelMinimiseTheWindowAndOpenTheirPages) {
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler("http", &recorder, "Open");
  Open();
  Press(QPoint(242, 360));  // HELP
  EXPECT_TRUE(dialog->isMinimized());
  EXPECT_EQ(recorder.opened, QStringList{"http://help.example.com/guide.pdf"});
  dialog->showNormal();
  Press(QPoint(250, 22));  // LIVE WHEEL
  EXPECT_TRUE(dialog->isMinimized());
  EXPECT_EQ(recorder.opened,
            (QStringList{"http://help.example.com/guide.pdf", "http://one.example.com/",
                         "http://two.example.com/", "http://two.example.com/live"}));
  QDesktopServices::unsetUrlHandler("http");
}

TEST_F(MainDialogTest, CaptionShowsTheUpdateCheckWhileItRuns) {
  SocketsLayer sockets;
  ASSERT_TRUE(sockets.Start());
  setenv("no_proxy", "127.0.0.1", 1);
  // A server that trickles its answer for about two seconds, then offers nothing newer.
  LoopbackHttpServer server([](const LoopbackHttpServer::Connection& connection) {
    connection.Send("HTTP/1.0 200 OK\r\n\r\n<Program_Version>5.0.0.4</Program_Version>");
    for (int i = 0; i < 6 && connection.Send(" "); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(350));
    }
  });
  startUpdateCheck = [&server](UpdateCheckObserver& observer, QWidget&) {
    return StartUpdateCheck(
        "http://127.0.0.1/update.xml", "V 5.004", observer,
        UpdateCheckOptions{.port = server.port(), .questionOwner = {}, .onQuestionShown = {}});
  };
  Open();
  QTRY_COMPARE_WITH_TIMEOUT(dialog->windowTitle(), QString("Updating "), 1000);
  QTRY_COMPARE_WITH_TIMEOUT(dialog->windowTitle(), QString("Updating.. "), 1000);
  QTRY_COMPARE_WITH_TIMEOUT(dialog->windowTitle(), QString("V 5.004 Wheelwatcher  "), 4000);
  EXPECT_EQ(dialog->Tracker().BusyCount(), 0);
}

}  // namespace wheelwatcher

#include "main_dialog_test.moc"
