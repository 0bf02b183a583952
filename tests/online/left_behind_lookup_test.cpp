// SPDX-License-Identifier: GPL-3.0-or-later
// The update check against a name lookup that outlives the connect time-out (the resolver is
// replaced by tests/support/slow_name_lookup.cpp, preloaded by CTest): the check ends after its
// two tries of a second each, and the lookups it left behind end later without harm. Run under
// ThreadSanitizer by .ci/run.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTest>

#include <chrono>

#include "online/update_worker.h"
#include "tests/support/wait_for.h"

namespace wheelwatcher {

namespace {

using Clock = std::chrono::steady_clock;

class CountingWindow : public UpdateCheckObserver {
 public:
  void OnUpdateCheckStarted() override { ++busyCount; }
  void OnUpdateCheckFinished() override {
    --busyCount;
    ++finished;
  }
  int busyCount = 0;
  int finished = 0;
};

TEST(LeftBehindLookup, TheCheckEndsAfterTwoTriesAndTheLookupsEndLater) {
  using Finished = int (*)();
  const auto slowLookupsFinished =
      reinterpret_cast<Finished>(dlsym(RTLD_DEFAULT, "wheelwatcher_slow_lookups_finished"));
  ASSERT_NE(slowLookupsFinished, nullptr) << "run with LD_PRELOAD of the slow_name_lookup module";

  CountingWindow window;
  const auto start = Clock::now();
  auto worker = StartUpdateCheck("http://slow-lookup.invalid/u.xml", "V 5.004", window);
  ASSERT_TRUE(WaitFor([&] { return window.finished == 1; }, 5000));
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
  EXPECT_LT(elapsed, std::chrono::milliseconds(2900));
  EXPECT_EQ(window.busyCount, 0);
  EXPECT_EQ(slowLookupsFinished(), 0) << "the check waited for a lookup";
  worker.reset();

  // Both lookups left behind come back to what the fetch left them.
  ASSERT_TRUE(WaitFor([&] { return slowLookupsFinished() == 2; }, 5000));
  QTest::qWait(100);
  EXPECT_EQ(window.finished, 1);
}

}  // namespace

}  // namespace wheelwatcher
