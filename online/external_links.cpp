// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/external_links.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <thread>

#include "online/fixed_addresses.h"

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
