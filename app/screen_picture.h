// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

namespace wheelwatcher {

// A picture of the window from the resources (":/layout.png"): on a screen scaled by 1.5 or more
// its "@2x" variant, when there is one, which paints at the same logical size but with twice the
// detail. Mouse positions and the hit map stay in logical pixels either way.
QPixmap LoadScreenPicture(const QString& resourcePath);

}  // namespace wheelwatcher
