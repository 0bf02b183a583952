// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QImage>

#include <string>

#include "stats/guardrails.h"

namespace wheelwatcher {

namespace {

// The ticker draws the small sheet: every character of a guardrail's line must have a glyph
// there, or the panel would show a blank where the player should read it.
TEST(GuardrailTickerGlyphs, EveryCharacterOfEveryLineIsDrawn) {
  const QImage sheet(QStringLiteral(":/glyphs-small.png"));
  ASSERT_FALSE(sheet.isNull());
  const QRgb lit = qRgb(63, 181, 255);
  const auto hasLitDot = [&](unsigned char code) {
    const int cellX = (code - 32) % 32 * 11;
    const int cellY = (code - 32) / 32 * 15;
    for (int y = cellY; y < cellY + 14; ++y) {
      for (int x = cellX; x < cellX + 10; ++x) {
        if (sheet.pixel(x, y) == lit) return true;
      }
    }
    return false;
  };

  GuardrailLimits limits;
  limits.sessionMinutes.value = 1234567890;  // every digit
  for (const std::string currency : {"$", "{", "}"}) {
    for (Guardrail guardrail :
         {Guardrail::kStopLoss, Guardrail::kStopWin, Guardrail::kSessionTime}) {
      const std::string line = GuardrailTickerLine(guardrail, limits, -1234567890, currency);
      for (const char character : line) {
        const auto code = static_cast<unsigned char>(character);
        ASSERT_TRUE(code >= 32 && code < 127) << line;
        if (character != ' ') {
          EXPECT_TRUE(hasLitDot(code)) << "'" << character << "' in " << line;
        }
      }
    }
  }
}

}  // namespace

}  // namespace wheelwatcher
