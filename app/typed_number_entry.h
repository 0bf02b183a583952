// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>

namespace wheelwatcher {

// Turns digits typed on the main window into numbers to enter, so that a typing slip never enters
// a spin: a number is one or two digits; a second digit within the pause completes it at once, a
// lone digit is entered when the pause has passed or the number is ended (Enter); two digits above
// 36 enter nothing. The clock is the caller's, so the rule can be tried with any timing.
class TypedNumberEntry {
 public:
  using Clock = std::chrono::steady_clock;
  // How long a lone digit waits for a second one.
  static constexpr std::chrono::milliseconds kPause{1000};

  struct Outcome {
    std::optional<int> enter;     // the number to enter now
    std::optional<int> rejected;  // two digits that make no number of the wheel
  };

  // A digit key, 0 to 9. A lone digit whose pause has passed is entered first.
  Outcome Digit(int digit, Clock::time_point now);
  // Enter: the digits typed so far make the number.
  std::optional<int> End();
  // The pause has passed (the window's timer, or any later key): a lone digit is entered.
  std::optional<int> PauseElapsed(Clock::time_point now);
  // Escape or Backspace: forgets the digits typed so far; false when there were none.
  bool Cancel();

  // When the waiting digit is due, if one waits.
  std::optional<Clock::time_point> Deadline() const;

 private:
  std::optional<int> waitingDigit_;
  Clock::time_point deadline_{};
};

}  // namespace wheelwatcher
