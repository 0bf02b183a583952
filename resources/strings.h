// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's own texts from its string table.

// Menu item of the main window's system menu that opens the statistics window, above About.
inline constexpr char kStatisticsMenuText[] = "&Statistics...";

// Menu item of the main window's system menu that opens the About box.
inline constexpr char kAboutMenuText[] = "&About Wheelwatcher...";

// Shown when the networking layer cannot start; the program then ends.
inline constexpr char kSocketsFailedText[] = "Windows sockets initialization failed.";
