// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/lab_bench.h"

#include <chrono>
#include <thread>

#include "bench/bench_support.h"
#include "lab/simulation.h"

namespace wheelwatcher {

namespace {

// Sessions of system 4 with the lab's defaults; the figures count the spins actually played, per
// second of the clock and per second of processor time (what one core does, however busy the
// machine is with other work).
void LabSpinsPerSecond(benchmark::State& state) {
  SimulationSettings settings;
  settings.systems = {4};
  settings.spinsPerSession = 1000;
  settings.sessions = 20000;
  settings.threads = static_cast<int>(state.range(0));
  double spins = 0;
  double seconds = 0;
  double cpuSeconds = 0;
  for (auto _ : state) {
    const auto started = Clock::now();
    const double cpuStarted = ProcessCpuSeconds();
    const SimulationResult result = RunSimulation(settings, nullptr);
    cpuSeconds += ProcessCpuSeconds() - cpuStarted;
    seconds += Seconds(Clock::now() - started);
    spins += static_cast<double>(result.systems[0].spinsPlayed);
    ++settings.seed;
  }
  state.counters["Mspins_per_s"] = spins / seconds / 1e6;
  state.counters["Mspins_per_cpu_s"] = spins / cpuSeconds / 1e6;
}

// simulate --sessions 100000 --spins 1000 --system all, on every core.
void LabSimulateAll(benchmark::State& state) {
  SimulationSettings settings;
  settings.systems = {1, 2, 3, 4, 5};
  settings.spinsPerSession = 1000;
  settings.sessions = 100000;
  settings.threads = static_cast<int>(std::thread::hardware_concurrency());
  for (auto _ : state) {
    const auto started = Clock::now();
    const SimulationResult result = RunSimulation(settings, nullptr);
    benchmark::DoNotOptimize(result.systems.size());
    state.counters["s"] = Seconds(Clock::now() - started);
  }
}

}  // namespace

void RegisterLabBenchmarks() {
  benchmark::RegisterBenchmark("lab_spins_per_second", LabSpinsPerSecond)
      ->Arg(1)
      ->Arg(2)
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("lab_simulate_all_100000x1000", LabSimulateAll)
      ->Iterations(1)
      ->Unit(benchmark::kSecond);
}

std::vector<Budget> LabBudgets() {
  return {
      {"lab: spins of system 4 per processor second (one core)",
       {"lab_spins_per_second/1/"},
       "Mspins_per_cpu_s",
       "M/s",
       5,
       true},
      {"lab: spins of system 4 per second, one / two threads",
       {"lab_spins_per_second/1/", "lab_spins_per_second/2/"},
       "Mspins_per_s",
       "M/s",
       10,
       true},
      {"lab: simulate 100,000 x 1,000 spins, all systems",
       {"lab_simulate_all_100000x1000"},
       "s",
       "s",
       60},
  };
}

}  // namespace wheelwatcher
