#include "app/tracker_app.h"

#include <QFile>
#include <QLocale>
#include <QMessageBox>

#include "app/first_paint_report.h"
#include "app/main_dialog.h"
#include "online/external_links.h"
#include "online/fixed_addresses.h"
#include "online/sockets_layer.h"
#include "online/version_reader.h"
#include "platform/click_sound.h"
#include "platform/settings_store.h"
#include "platform/system_random_bytes.h"
#include "resources/strings.h"

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
  CSocketsLayer sockets;
  if (!sockets.Start()) {
    QMessageBox failure(QMessageBox::NoIcon, applicationDisplayName(),
                        QString::fromLatin1(kSocketsFailedText), QMessageBox::Ok);
    failure.exec();
    return false;
  }

  SystemRandomBytes random;
  ClickSound click(ReadResource(QStringLiteral(":/click.wav")), [] { QApplication::beep(); });
  SettingsStore settings;
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
          [&versionText](UpdateCheckObserver& observer) {
            return StartUpdateCheck(kUpdateDocumentAddress, versionText, observer);
          },
      .helpAddress = HelpDocumentAddress(kHelpAddress, applicationDirPath()),
      .casinoAddresses = {kCasinoAddress1, kCasinoAddress2, kCasinoAddress3},
  });
  FirstPaintReport::InstallIfRequested(window);
  window.exec();
  return true;
}
