#include "online/external_links.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <thread>

namespace {

// Whether the system could open it is not the program's business: nothing is reported.
void OpenAddress(const std::string& address) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace

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
