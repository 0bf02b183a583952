// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "stats/guardrails.h"

namespace wheelwatcher {

namespace {

using namespace std::chrono_literals;
using Clock = GuardrailMonitor::Clock;
using Reached = std::vector<Guardrail>;

GuardrailLimits AllOn() {
  GuardrailLimits limits;
  limits.stopLoss = {true, 50};
  limits.stopWin = {true, 100};
  limits.sessionMinutes = {true, 60};
  return limits;
}

TEST(Guardrails, OffByDefaultAndNeverReached) {
  GuardrailMonitor monitor;
  const Clock::time_point start{};
  EXPECT_TRUE(monitor.Update(1, -1000000, start).empty());
  EXPECT_TRUE(monitor.Update(2, 1000000, start + 1000min).empty());
  EXPECT_FALSE(monitor.SessionTimeDue());
}

TEST(Guardrails, EachIsReportedOnceAtItsLine) {
  GuardrailMonitor monitor(AllOn());
  const Clock::time_point start{};
  // (spins, BANK, minutes since start, reached just now)
  const struct {
    std::int64_t spins;
    Money bank;
    std::chrono::minutes at;
    Reached reached;
  } steps[] = {
      {1, -10, 0min, {}},  // the session clock starts here
      {2, -49, 1min, {}},
      {3, -50, 2min, {Guardrail::kStopLoss}},  // "at or below"
      {4, -80, 3min, {}},                      // once only
      {5, -20, 4min, {}},                      // back above: still reported already
      {6, 99, 5min, {}},
      {7, 100, 6min, {Guardrail::kStopWin}},  // "at or above"
      {7, 100, 59min, {}},
      {7, 100, 60min, {Guardrail::kSessionTime}},  // an hour after the first spin
      {8, 300, 200min, {}},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(monitor.Update(step.spins, step.bank, start + step.at), step.reached)
        << "spin " << step.spins << " at " << step.at.count() << " min";
  }
}

TEST(Guardrails, RewindingTheSpinThatReachedOneRearmsIt) {
  GuardrailMonitor monitor(AllOn());
  const Clock::time_point start{};
  EXPECT_TRUE(monitor.Update(1, -30, start).empty());
  EXPECT_EQ(monitor.Update(2, -55, start), Reached{Guardrail::kStopLoss});
  // REWIND: back to -30, the loss is not reached any more ...
  EXPECT_TRUE(monitor.Update(1, -30, start).empty());
  EXPECT_FALSE(monitor.IsReached(Guardrail::kStopLoss));
  // ... so a new spin that reaches it reports it again.
  EXPECT_EQ(monitor.Update(2, -52, start), Reached{Guardrail::kStopLoss});
  // A REWIND that stays beyond the line keeps it reported, with no second message.
  EXPECT_TRUE(monitor.Update(3, -60, start).empty());
  EXPECT_TRUE(monitor.Update(2, -52, start).empty());
  EXPECT_TRUE(monitor.IsReached(Guardrail::kStopLoss));
}

TEST(Guardrails, SessionClockRestartsWithTheTable) {
  GuardrailMonitor monitor(AllOn());
  const Clock::time_point start{};
  EXPECT_TRUE(monitor.Update(0, 0, start).empty());
  EXPECT_FALSE(monitor.SessionTimeDue());  // no spin yet: no clock
  EXPECT_TRUE(monitor.Update(1, 0, start + 10min).empty());
  EXPECT_EQ(monitor.SessionTimeDue(), start + 70min);
  EXPECT_EQ(monitor.Update(1, 0, start + 70min), Reached{Guardrail::kSessionTime});
  EXPECT_FALSE(monitor.SessionTimeDue());
  // CLEAR ALL: the next first spin starts a new hour.
  EXPECT_TRUE(monitor.Update(0, 0, start + 71min).empty());
  EXPECT_TRUE(monitor.Update(1, 0, start + 80min).empty());
  EXPECT_EQ(monitor.SessionTimeDue(), start + 140min);
}

TEST(Guardrails, AChangedLimitMayBeReachedAnew) {
  GuardrailMonitor monitor(AllOn());
  const Clock::time_point start{};
  EXPECT_EQ(monitor.Update(1, -60, start), Reached{Guardrail::kStopLoss});
  GuardrailLimits limits = AllOn();
  limits.stopLoss.value = 100;
  monitor.SetLimits(limits);
  EXPECT_TRUE(monitor.Update(1, -60, start).empty());
  EXPECT_EQ(monitor.Update(2, -100, start), Reached{Guardrail::kStopLoss});
  // Changing another limit leaves this one reported.
  limits.stopWin.value = 500;
  monitor.SetLimits(limits);
  EXPECT_TRUE(monitor.Update(2, -100, start).empty());
  limits.stopLoss.on = false;
  monitor.SetLimits(limits);
  EXPECT_TRUE(monitor.Update(3, -200, start).empty());
}

TEST(Guardrails, TickerLines) {
  const GuardrailLimits limits = AllOn();
  EXPECT_EQ(GuardrailTickerLine(Guardrail::kStopLoss, limits, -50, "$"),
            "STOP-LOSS REACHED: BANK $-50");
  EXPECT_EQ(GuardrailTickerLine(Guardrail::kStopWin, limits, 120, "{"),
            "STOP-WIN REACHED: BANK {120");
  EXPECT_EQ(GuardrailTickerLine(Guardrail::kSessionTime, limits, 0, "}"),
            "TIME LIMIT REACHED: 60 MINUTES");
}

}  // namespace

}  // namespace wheelwatcher
