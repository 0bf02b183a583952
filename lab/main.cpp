// SPDX-License-Identifier: GPL-3.0-or-later
// wheelwatcher-lab: the five systems replayed and simulated by the window's own rules.
#include <unistd.h>

#include <QGuiApplication>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "lab/bank_plot.h"
#include "lab/lab_command.h"
#include "lab/lab_report.h"
#include "lab/pending_file.h"
#include "lab/plot_data.h"
#include "lab/progress.h"
#include "lab/spin_file.h"

namespace {

constexpr int kDone = 0;
constexpr int kCannotWrite = 1;
constexpr int kBadInput = 2;

int Fail(const std::string& message, int status) {
  std::cerr << "wheelwatcher-lab: " << message << "\n";
  return status;
}

int Refuse(const std::string& message) { return Fail(message, kBadInput); }

// Runs the work; on a terminal, a progress bar on standard error once it takes over a second.
void RunWithProgress(const std::function<void(std::atomic<std::int64_t>*)>& work,
                     std::int64_t total) {
  std::atomic<std::int64_t> done{0};
  if (isatty(STDERR_FILENO) == 0) {
    work(&done);
    return;
  }
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    work(&done);
    finished = true;
  });
  const auto started = std::chrono::steady_clock::now();
  bool shown = false;
  while (!finished) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (elapsed >= 1 && !finished) {
      std::cerr << "\r" << ProgressLine(done, total, elapsed) << std::flush;
      shown = true;
    }
  }
  worker.join();
  if (shown) std::cerr << "\r\033[K" << std::flush;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  return contents.str();
}

struct Rendered {
  std::string text, json, csv;
  QByteArray png;
};

// Writes every result; the files appear only when all of them could be written.
int Deliver(const LabOutputs& outputs, std::vector<PendingFile>& pending, const Rendered& results) {
  std::string error;
  for (PendingFile& file : pending) {
    const std::string& contents = file.Path() == outputs.json  ? results.json
                                  : file.Path() == outputs.csv ? results.csv
                                                               : results.png.toStdString();
    if (!file.Write(contents, error)) return Fail(error, kCannotWrite);
  }
  for (PendingFile& file : pending) {
    if (!file.Publish(error)) return Fail(error, kCannotWrite);
  }
  std::cout << (outputs.json == "-"  ? results.json
                : outputs.csv == "-" ? results.csv
                                     : results.text)
            << std::flush;
  return kDone;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::random_device entropy;
  const LabCommand command =
      ParseLabCommand(arguments, static_cast<int>(std::thread::hardware_concurrency()), entropy());
  if (!command.error.empty()) {
    return Refuse(command.error + "\nTry 'wheelwatcher-lab --help'.");
  }
  if (command.kind == LabCommandKind::kHelp) {
    std::cout << kLabUsage;
    return kDone;
  }

  // Every input is read and every output place checked before the work starts.
  std::vector<std::pair<std::string, SpinFile>> spinFiles;
  for (const std::string& path : command.files) {
    std::string error;
    const std::optional<std::string> text = ReadWholeFile(path, error);
    if (!text) return Refuse(error);
    SpinFile file = ReadSpinFile(path, *text);
    if (!file.error.empty()) return Refuse(file.error);
    spinFiles.emplace_back(path, std::move(file));
  }
  std::vector<PendingFile> pending;
  for (const std::string& path :
       {command.outputs.json, command.outputs.csv, command.outputs.plot}) {
    if (path.empty() || path == "-") continue;
    for (const PendingFile& other : pending) {
      if (other.Path() == path) return Refuse("two results cannot both go to " + path);
    }
    pending.emplace_back(path);
    std::string error;
    if (!pending.back().CheckPlace(error)) return Refuse(error);
  }

  Rendered rendered;
  std::optional<PlotData> plot;
  if (command.kind == LabCommandKind::kSimulate) {
    const SimulationSettings& settings = command.simulation;
    std::optional<SimulationResult> result;
    RunWithProgress([&](auto* done) { result = RunSimulation(settings, done); },
                    static_cast<std::int64_t>(settings.systems.size()) * settings.sessions *
                        settings.spinsPerSession);
    rendered = {SimulationText(*result), SimulationJson(*result), SimulationCsv(*result), {}};
    if (!command.outputs.plot.empty()) plot = SimulationPlot(*result);
  } else {
    const ReplaySettings& settings = command.replay;
    std::int64_t total = 0;
    for (const auto& file : spinFiles) {
      total += static_cast<std::int64_t>(file.second.spins.size() * settings.systems.size()) *
               settings.runs;
    }
    std::vector<ReplayResult> results;
    RunWithProgress(
        [&](auto* done) {
          for (auto& [path, file] : spinFiles) {
            results.push_back(
                RunReplay(settings, path, std::move(file.spins), file.recorded, done));
          }
        },
        total);
    rendered = {ReplayText(settings, results),
                ReplayJson(settings, results),
                ReplayCsv(settings, results),
                {}};
    if (!command.outputs.plot.empty()) plot = ReplayPlot(settings, results.front());
  }
  if (plot) {
    // The plot is drawn off any screen: no display is needed, and none is touched.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the session (a missing runtime folder and the like) are not the user's
    // concern.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
      if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
    });
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    rendered.png = DrawBankPlotPng(*plot);
  }
  return Deliver(command.outputs, pending, rendered);
}
