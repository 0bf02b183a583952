// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tracker_app.h"

#include <QFile>
#include <QLocale>

#include "app/first_paint_report.h"
#include "app/main_dialog.h"
#include "app/sockets_failure_message.h"
#include "online/external_links.h"
#include "online/fixed_addresses.h"
#include "online/sockets_layer.h"
#include "online/version_reader.h"
#include "platform/click_sound.h"
#include "platform/journal_store.h"
#include "platform/settings_store.h"
#include "platform/system_random_bytes.h"

namespace wheelwatcher {

namespace {
QByteArray ReadResource(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

CTrackerApp::CTrackerApp(int& argc, char** argv) : QApplication(argc, argv) {
  setOrganizationName(QStringLiteral("KORMEL"));
  // No display name: the platform would append it to every caption ("... — Wheelwatcher").
  setApplicationName(QStringLiteral("Wheelwatcher"));
}

bool CTrackerApp::InitInstance() {
  SocketsLayer sockets;
  if (!sockets.Start()) {
    ShowSocketsFailureMessage();
    return false;
  }

  SystemRandomBytes random;
  ClickSound click(ReadResource(QStringLiteral(":/click.wav")), [] { QApplication::beep(); });
  SettingsStore settings;
  JournalStore journal(JournalStore::DefaultFolder());
  const std::string versionText = ReadVersionText(kOwnExecutablePath);
  CMainDialog window(MainDialogServices{
      .random = random,
      .clickSound = click,
      .settings = settings,
      .versionText = versionText,
      .localeCurrencySymbol = QLocale::system().currencySymbol().toStdString(),
      .runSaveDialog = {},
      .reportSaveFailure = {},
      .startUpdateCheck =
          [&versionText](UpdateCheckObserver& observer, QWidget& questionOwner) {
            return StartUpdateCheck(
                kUpdateDocumentAddress, versionText, observer,
                UpdateCheckOptions{.questionOwner = &questionOwner, .onQuestionShown = {}});
          },
      .helpAddress = HelpDocumentAddress(kHelpAddress, applicationDirPath()),
      .casinoAddresses = {kCasinoAddress1, kCasinoAddress2, kCasinoAddress3},
  });
  window.KeepSessionIn(journal);
  FirstPaintReport::InstallIfRequested(window);
  // Closing the window ends the run, even while a window of its own (the question) is still open.
  setQuitOnLastWindowClosed(false);
  connect(&window, &QDialog::finished, this, &QCoreApplication::quit);
  window.show();
  // A new program's window takes the keyboard, as a window manager would give it; without one
  // (a bare X server) nothing else would, and a screen reader follows the focus.
  window.activateWindow();
  exec();
  return true;
}

}  // namespace wheelwatcher
