// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/typed_number_entry.h"

namespace wheelwatcher {

namespace {

using std::chrono::milliseconds;

// One key at a moment: a digit, 'E' for Enter, 'X' for Escape or Backspace.
struct TypedKey {
  char key;
  int atMs;
};

struct Entered {
  int number;
  int atMs;
  bool operator==(const Entered&) const = default;
};

struct TypingCase {
  const char* name;
  std::vector<TypedKey> keys;
  // A machine so busy that the pause timer fires only after the next key: the keys alone decide.
  bool timerLate;
  std::vector<Entered> entered;
  std::vector<int> rejected;
};

void PrintTo(const Entered& entered, std::ostream* out) {
  *out << entered.number << " at " << entered.atMs << " ms";
}

// Plays the keys as the window does: its pause timer fires at the deadline (unless late), each key
// goes to the rule, and what the rule enters is recorded with the moment it was entered.
class TypedNumberEntryTest : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypedNumberEntryTest, EntersOnlyWhatWasMeant) {
  const TypingCase& typing = GetParam();
  const auto start = TypedNumberEntry::Clock::time_point{} + std::chrono::hours(1);
  const auto at = [&](int ms) { return start + milliseconds(ms); };
  const auto ms = [&](TypedNumberEntry::Clock::time_point when) {
    return static_cast<int>(std::chrono::duration_cast<milliseconds>(when - start).count());
  };
  TypedNumberEntry entry;
  std::vector<Entered> entered;
  std::vector<int> rejected;
  const auto record = [&](std::optional<int> number, int atMs) {
    if (number) entered.push_back({*number, atMs});
  };
  const auto fireTimerBefore = [&](int atMs) {
    const auto deadline = entry.Deadline();
    if (deadline && ms(*deadline) <= atMs) record(entry.PauseElapsed(*deadline), ms(*deadline));
  };

  for (const TypedKey& key : typing.keys) {
    if (!typing.timerLate) fireTimerBefore(key.atMs);
    if (key.key >= '0' && key.key <= '9') {
      const TypedNumberEntry::Outcome outcome = entry.Digit(key.key - '0', at(key.atMs));
      record(outcome.enter, key.atMs);
      if (outcome.rejected) rejected.push_back(*outcome.rejected);
    } else if (key.key == 'E') {
      record(entry.End(), key.atMs);
    } else {
      entry.Cancel();
    }
  }
  fireTimerBefore(1'000'000);

  EXPECT_EQ(entered, typing.entered);
  EXPECT_EQ(rejected, typing.rejected);
  EXPECT_FALSE(entry.Deadline()) << "a digit still waits";
}

const TypingCase kTypingCases[] = {
    {"LoneDigitAfterThePause", {{'3', 0}}, false, {{3, 1000}}, {}},
    {"TwoDigitsWithinThePauseAtOnce", {{'1', 0}, {'7', 300}}, false, {{17, 300}}, {}},
    {"SecondDigitJustBeforeThePauseEnds", {{'3', 0}, {'6', 999}}, false, {{36, 999}}, {}},
    {"SecondDigitAtThePauseIsANewNumber",
     {{'1', 0}, {'7', 1000}},
     false,
     {{1, 1000}, {7, 2000}},
     {}},
    {"LeadingZero", {{'0', 0}, {'7', 200}}, false, {{7, 200}}, {}},
    {"DoubleZeroIsZero", {{'0', 0}, {'0', 200}}, false, {{0, 200}}, {}},
    {"AboveThirtySixEntersNothing", {{'3', 0}, {'7', 200}}, false, {}, {37}},
    {"NinetyNineEntersNothing", {{'9', 0}, {'9', 100}}, false, {}, {99}},
    {"EnterEndsALoneDigitAtOnce", {{'3', 0}, {'E', 100}}, false, {{3, 100}}, {}},
    {"EnterWithNothingTypedDoesNothing", {{'E', 0}, {'E', 50}}, false, {}, {}},
    {"EscapeDropsTheDigit", {{'2', 0}, {'X', 500}}, false, {}, {}},
    {"EscapeThenANewNumber", {{'2', 0}, {'X', 100}, {'5', 200}, {'E', 300}}, false, {{5, 300}}, {}},
    {"ThreeQuickDigitsAreTwoNumbers",
     {{'1', 0}, {'2', 100}, {'3', 200}},
     false,
     {{12, 100}, {3, 1200}},
     {}},
    {"ARejectedPairLeavesNothingWaiting", {{'4', 0}, {'5', 100}, {'E', 200}}, false, {}, {45}},
    {"LateTimerNextDigitEntersTheWaitingOneFirst",
     {{'2', 0}, {'5', 1500}, {'E', 1600}},
     true,
     {{2, 1500}, {5, 1600}},
     {}},
    {"LateTimerQuickPairStillOneNumber", {{'2', 0}, {'5', 400}}, true, {{25, 400}}, {}},
};

INSTANTIATE_TEST_SUITE_P(Keys, TypedNumberEntryTest, ::testing::ValuesIn(kTypingCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

}  // namespace wheelwatcher
