// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>

namespace wheelwatcher {

// The program's own options. --help and --version are answered before the application object
// exists, so both work without a display; Qt's options (-platform and so on) are left to Qt.

// Prints the help or the version when asked for and returns the exit status; nothing when the
// program should start.
std::optional<int> AnswerInformationOptions(const QStringList& arguments);

// After the application object has taken Qt's options, anything left over is unknown: says so and
// returns the exit status.
std::optional<int> RejectLeftoverArguments(const QStringList& arguments);

}  // namespace wheelwatcher
