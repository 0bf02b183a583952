#pragma once

#include <array>
#include <string>

class QWidget;

// The HELP button: minimises `window`, then opens the user guide with the default handler.
void OpenHelpDocument(QWidget& window, const std::string& helpAddress);

// The LIVE WHEEL button: minimises `window`, opens the first casino page, waits 1000 ms on this
// thread (the window is minimised then), and opens the second and third straight after.
void OpenLiveWheelLinks(QWidget& window, const std::array<std::string, 3>& casinoAddresses);
