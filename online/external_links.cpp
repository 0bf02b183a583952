// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/external_links.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <thread>

#include "online/fixed_addresses.h"

namespace wheelwatcher {

namespace {

// Whether the system could open it is not the program's business: nothing is reported.
void OpenAddress(const std::string& address) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace

std::string HelpDocumentAddress(const std::string& packagerAddress,
                                const QString& executableFolder) {
  if (!packagerAddress.empty()) return packagerAddress;
  const QFileInfo beside(QDir(executableFolder).filePath(QString::fromUtf8(kGuideFromExecutable)));
  const QString page =
      beside.isFile() ? beside.canonicalFilePath() : QString::fromUtf8(kInstalledGuide);
  return QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded).toStdString();
}

void OpenHelpDocument(QWidget& window, const std::string& helpAddress) {
  const QUrl address(QString::fromStdString(helpAddress));
  if (address.isLocalFile() && !QFileInfo(address.toLocalFile()).isFile()) {
    // An opener handed a missing file shows nothing, or an error of its own: the player would be
    // left with a minimised window and no guide.
    auto* message =
        new QMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                        QStringLiteral("The user guide is missing: %1").arg(address.toLocalFile()),
                        QMessageBox::Ok, &window);
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
    return;
  }
  window.showMinimized();
  OpenAddress(helpAddress);
}

void OpenLiveWheelLinks(QWidget& window, const std::array<std::string, 3>& casinoAddresses) {
  window.showMinimized();
  OpenAddress(casinoAddresses[0]);
  // Gives the browser time to start before it is handed the other two pages.
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  OpenAddress(casinoAddresses[1]);
  OpenAddress(casinoAddresses[2]);
}

}  // namespace wheelwatcher
