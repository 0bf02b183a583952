// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/ticker_panel_accessible.h"

#include "panels/ticker_panel.h"

namespace wheelwatcher {

QString SpokenPanelText(const std::string& message) {
  QString spoken;
  spoken.reserve(static_cast<qsizetype>(message.size()));
  for (const char byte : message) {
    const auto code = static_cast<unsigned char>(byte);
    if (code == '{') {
      spoken += QChar(0x00A3);  // pound sign
    } else if (code == '}') {
      spoken += QChar(0x20AC);  // euro sign
    } else if (code < 32 || code > 126) {
      spoken += QLatin1Char(' ');  // 127 is the all-lit cell, the rest have no glyph
    } else {
      spoken += QLatin1Char(static_cast<char>(code));
    }
  }
  return spoken.trimmed();
}

TickerPanelAccessible::TickerPanelAccessible(CTickerPanel* panel)
    : QAccessibleWidget(panel, QAccessible::StaticText) {}

CTickerPanel* TickerPanelAccessible::Panel() const { return static_cast<CTickerPanel*>(widget()); }

QString TickerPanelAccessible::text(QAccessible::Text type) const {
  if (type == QAccessible::Name) {
    const QString steadyName = Panel()->accessibleName();
    return steadyName.isEmpty() ? SpokenPanelText(Panel()->message()) : steadyName;
  }
  return QAccessibleWidget::text(type);
}

}  // namespace wheelwatcher
