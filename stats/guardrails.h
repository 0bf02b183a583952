// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/money.h"

namespace wheelwatcher {

// Limits the player may set on a session. They never stop play: reaching one only tells.
enum class Guardrail { kStopLoss, kStopWin, kSessionTime };
inline constexpr int kGuardrailCount = 3;

// The largest limit the player may set: money for stop-loss and stop-win, minutes (a day) for the
// session time. The settings file and the window's controls both hold to it.
constexpr std::int64_t LargestLimit(Guardrail guardrail) {
  return guardrail == Guardrail::kSessionTime ? 24 * 60 : 1000000000;
}

struct GuardrailLimit {
  bool on = false;
  std::int64_t value = 0;  // money for stop-loss and stop-win, minutes for the session time

  bool operator==(const GuardrailLimit&) const = default;
};

// Off by default; the values are what the window offers when one is switched on.
struct GuardrailLimits {
  GuardrailLimit stopLoss{false, 50};        // BANK at or below -value
  GuardrailLimit stopWin{false, 100};        // BANK at or above value
  GuardrailLimit sessionMinutes{false, 60};  // minutes since the first spin

  const GuardrailLimit& operator[](Guardrail guardrail) const;
  GuardrailLimit& operator[](Guardrail guardrail);
  bool operator==(const GuardrailLimits&) const = default;
};

// Watches the table against the limits. Each guardrail is reported once when it is reached; it
// can be reached again only after the spin that reached it has been taken back (REWIND) with the
// limit no longer reached, after the session starts afresh, or when its limit is changed.
class GuardrailMonitor {
 public:
  using Clock = std::chrono::steady_clock;

  explicit GuardrailMonitor(GuardrailLimits limits = {});

  const GuardrailLimits& Limits() const { return limits_; }
  void SetLimits(const GuardrailLimits& limits);

  // After every change of the table, and when the session time falls due: the guardrails
  // reached just now.
  std::vector<Guardrail> Update(std::int64_t spins, Money bank, Clock::time_point now);

  bool IsReached(Guardrail guardrail) const;
  // When the session-time limit will be reached, while it is on, running and not yet reached.
  std::optional<Clock::time_point> SessionTimeDue() const;

 private:
  bool Holds(Guardrail guardrail, Money bank, Clock::time_point now) const;

  GuardrailLimits limits_;
  std::optional<Clock::time_point> firstSpin_;
  // The spin count at which each guardrail was reached; empty while it is not.
  std::array<std::optional<std::int64_t>, kGuardrailCount> reachedAt_;
};

// The ticker's line for a guardrail just reached, in capitals the panel's glyphs draw:
// "STOP-LOSS REACHED: BANK $-50", "STOP-WIN REACHED: BANK $120", "TIME LIMIT REACHED: 60 MINUTES".
std::string GuardrailTickerLine(Guardrail guardrail, const GuardrailLimits& limits, Money bank,
                                const std::string& currencySymbol);

}  // namespace wheelwatcher
