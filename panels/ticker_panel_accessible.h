// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

#include <string>

namespace wheelwatcher {

class CTickerPanel;

// What a panel's message says aloud: the small glyph sheet draws "{" as a pound sign and "}" as a
// euro sign, and a code without a glyph shows as a blank cell. The padding around it says nothing.
QString SpokenPanelText(const std::string& message);

// A panel to assistive technology: static text whose name is the whole message, not the part that
// happens to be in view, or the accessible name the window gave it instead (a steady text for a
// panel that blinks). Its description (set by the window) says which panel it is.
class TickerPanelAccessible : public QAccessibleWidget {
 public:
  explicit TickerPanelAccessible(CTickerPanel* panel);

  QString text(QAccessible::Text type) const override;

 private:
  CTickerPanel* Panel() const;
};

}  // namespace wheelwatcher
