// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

class QString;
class QWidget;

namespace wheelwatcher {

// The address HELP opens: the packager's address when one was set at build time; otherwise the
// guide that comes with the program, as a file address: the page at its place relative to the
// executable's folder when it lies there (a build folder, or an install moved elsewhere), else
// the page where the install puts it.
std::string HelpDocumentAddress(const std::string& packagerAddress,
                                const QString& executableFolder);

// The HELP button: minimises `window`, then opens the user guide with the default handler. A guide
// that should be a local file but is missing is said in a message in front of `window` instead.
void OpenHelpDocument(QWidget& window, const std::string& helpAddress);

// The LIVE WHEEL button: minimises `window`, opens the first casino page, waits 1000 ms on this
// thread (the window is minimised then), and opens the second and third straight after.
void OpenLiveWheelLinks(QWidget& window, const std::array<std::string, 3>& casinoAddresses);

}  // namespace wheelwatcher
