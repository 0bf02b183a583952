#pragma once

#include <string>

#include "stats/guardrails.h"

// The one setting kept between runs: the selected system, as the text the user's store holds.
// It lives in the user's config folder as KORMEL/Wheelwatcher.conf, group "Settings", key "SYSTEM".
class SettingsStore {
 public:
  // The stored text, or "1" when there is none.
  std::string ReadSystemText() const;
  // Failures to write are not reported: the setting is a convenience, never worth an error.
  void WriteSystemText(const std::string& text);

  // The player's guardrails, in a group of their own, "Guardrails"; all off when absent, and a
  // value out of range gives that guardrail's default.
  GuardrailLimits ReadGuardrailLimits() const;
  void WriteGuardrailLimits(const GuardrailLimits& limits);
};
