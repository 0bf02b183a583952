// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wheelwatcher {

// Tells the user that the network layer could not be started, with only an OK button, and returns
// when the user has read it. The program then ends without opening its window.
void ShowSocketsFailureMessage();

}  // namespace wheelwatcher
