// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wheelwatcher {

// Makes the window readable by screen readers: the panels' messages, the History columns' rows,
// the layout's numbers and buttons with their press actions. Installs the accessible interfaces
// of these controls for the whole application; calling it again does nothing.
void InstallAccessibleInterfaces();

}  // namespace wheelwatcher
