// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/guardrails.h"

#include <utility>

#include "systems/advice_text.h"

namespace wheelwatcher {

const GuardrailLimit& GuardrailLimits::operator[](Guardrail guardrail) const {
  switch (guardrail) {
    case Guardrail::kStopLoss:
      return stopLoss;
    case Guardrail::kStopWin:
      return stopWin;
    case Guardrail::kSessionTime:
      break;
  }
  return sessionMinutes;
}

GuardrailLimit& GuardrailLimits::operator[](Guardrail guardrail) {
  return const_cast<GuardrailLimit&>(std::as_const(*this)[guardrail]);
}

GuardrailMonitor::GuardrailMonitor(GuardrailLimits limits) : limits_(limits) {}

void GuardrailMonitor::SetLimits(const GuardrailLimits& limits) {
  for (int g = 0; g < kGuardrailCount; ++g) {
    const auto guardrail = static_cast<Guardrail>(g);
    if (!(limits[guardrail] == limits_[guardrail])) reachedAt_[static_cast<std::size_t>(g)].reset();
  }
  limits_ = limits;
}

bool GuardrailMonitor::Holds(Guardrail guardrail, Money bank, Clock::time_point now) const {
  const GuardrailLimit& limit = limits_[guardrail];
  if (!limit.on) return false;
  switch (guardrail) {
    case Guardrail::kStopLoss:
      return bank <= SaturatingSubtract(0, limit.value);
    case Guardrail::kStopWin:
      return bank >= limit.value;
    case Guardrail::kSessionTime:
      return firstSpin_ && now - *firstSpin_ >= std::chrono::minutes(limit.value);
  }
  return false;
}

std::vector<Guardrail> GuardrailMonitor::Update(std::int64_t spins, Money bank,
                                                Clock::time_point now) {
  // The session's clock starts with its first spin and stops when no spin is left.
  if (spins == 0) {
    firstSpin_.reset();
  } else if (!firstSpin_) {
    firstSpin_ = now;
  }
  std::vector<Guardrail> reachedNow;
  for (int g = 0; g < kGuardrailCount; ++g) {
    const auto guardrail = static_cast<Guardrail>(g);
    std::optional<std::int64_t>& reachedAt = reachedAt_[static_cast<std::size_t>(g)];
    const bool holds = Holds(guardrail, bank, now);
    if (reachedAt && spins < *reachedAt) {
      // The spin that reached it was taken back.
      if (holds) {
        reachedAt = spins;
      } else {
        reachedAt.reset();
      }
    } else if (!reachedAt && holds) {
      reachedAt = spins;
      reachedNow.push_back(guardrail);
    }
  }
  return reachedNow;
}

bool GuardrailMonitor::IsReached(Guardrail guardrail) const {
  return reachedAt_[static_cast<std::size_t>(guardrail)].has_value();
}

std::optional<GuardrailMonitor::Clock::time_point> GuardrailMonitor::SessionTimeDue() const {
  if (!limits_.sessionMinutes.on || !firstSpin_ || IsReached(Guardrail::kSessionTime)) {
    return std::nullopt;
  }
  return *firstSpin_ + std::chrono::minutes(limits_.sessionMinutes.value);
}

std::string GuardrailTickerLine(Guardrail guardrail, const GuardrailLimits& limits, Money bank,
                                const std::string& currencySymbol) {
  switch (guardrail) {
    case Guardrail::kStopLoss:
      return "STOP-LOSS REACHED: BANK " + FormatMoney(currencySymbol, bank);
    case Guardrail::kStopWin:
      return "STOP-WIN REACHED: BANK " + FormatMoney(currencySymbol, bank);
    case Guardrail::kSessionTime:
      break;
  }
  const std::int64_t minutes = limits.sessionMinutes.value;
  return "TIME LIMIT REACHED: " + std::to_string(minutes) + (minutes == 1 ? " MINUTE" : " MINUTES");
}

}  // namespace wheelwatcher
