// SPDX-License-Identifier: GPL-3.0-or-later
// wheelwatcher-lab: the five systems replayed and simulated by the window's own rules.
#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "lab/bank_plot.h"
#include "lab/lab_command.h"
#include "lab/lab_files.h"
#include "lab/lab_report.h"
#include "lab/plot_data.h"
#include "lab/progress.h"
#include "lab/spin_file.h"

namespace wheelwatcher {

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
  std::thread worker;
  try {
    worker = std::thread([&] {
      work(&done);
      finished = true;
    });
  } catch (const std::system_error&) {
    // Without a thread to spare the work goes on without the bar.
    work(&done);
    return;
  }
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

// A standard stream that was closed is held by /dev/null, so no file the lab opens takes its
// number; standard output is held read-only, so writing the results to it fails as it should.
void HoldClosedStandardStreams() {
  for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(stream, F_GETFD) != -1) continue;
    const int held = open("/dev/null", stream == STDERR_FILENO ? O_WRONLY : O_RDONLY);
    if (held >= 0 && held != stream) {
      dup2(held, stream);
      close(held);
    }
  }
}

// Standard output's share of the results, or what kept it from them.
int Show(std::string_view text) {
  if (WriteAll(STDOUT_FILENO, text)) return kDone;
  return Fail(std::string("cannot write to standard output: ") + std::strerror(errno),
              kCannotWrite);
}

// A file the run reads or writes, with how the user named it, to find two names for one file.
struct NamedFile {
  std::string description;
  FileIdentity identity;
  bool read = false;
};

struct Rendered {
  std::string text, json, csv;
  QByteArray png;
};

struct PendingResult {
  std::string option;
  ResultFile file;
};

// The result files appear only when every one of them is written and synced; then standard
// output, which cannot be held back, gets its share.
int Deliver(const LabOutputs& outputs, std::vector<PendingResult>& pending,
            const Rendered& results) {
  std::string error;
  for (PendingResult& result : pending) {
    const std::string_view contents =
        result.option == "--json"  ? std::string_view(results.json)
        : result.option == "--csv" ? std::string_view(results.csv)
                                   : std::string_view(results.png.constData(),
                                                      static_cast<std::size_t>(results.png.size()));
    if (!result.file.Write(contents, error)) return Fail(error, kCannotWrite);
  }
  // The renames follow one another with nothing between them, so a kill can hardly fall where
  // some results are new and others old.
  for (PendingResult& result : pending) {
    if (!result.file.Publish(error)) return Fail(error, kCannotWrite);
  }
  for (const PendingResult& result : pending) {
    if (!result.file.SyncFolder(error)) return Fail(error, kCannotWrite);
  }
  return Show(outputs.json == "-" ? results.json : outputs.csv == "-" ? results.csv : results.text);
}

}  // namespace

}  // namespace wheelwatcher

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  HoldClosedStandardStreams();
  RemoveTemporaryFilesOnSignals();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::random_device entropy;
  const LabCommand command =
      ParseLabCommand(arguments, static_cast<int>(std::thread::hardware_concurrency()), entropy());
  if (!command.error.empty()) {
    return Refuse(command.error + "\nTry 'wheelwatcher-lab --help'.");
  }
  if (command.kind == LabCommandKind::kHelp) return Show(kLabUsage);
  if (command.kind == LabCommandKind::kVersion) {
    return Show(std::string("wheelwatcher-lab ") + WHEELWATCHER_VERSION + "\n");
  }

  // Every input is read and every output place checked before the work starts.
  std::vector<NamedFile> named;
  std::vector<std::pair<std::string, SpinFile>> spinFiles;
  std::size_t spinCount = 0;
  for (const std::string& path : command.files) {
    std::string error;
    std::optional<InputFile> input = ReadInputFile(path, kMostSpinFileBytes, error);
    if (!input) return Refuse(error);
    SpinFile file = ReadSpinFile(path, input->text);
    if (!file.error.empty()) return Refuse(file.error);
    spinCount += file.spins.size();
    if (spinCount > kMostReplaySpins) {
      return Refuse(path + ": the files hold more than " +
                    WithThousands(std::to_string(kMostReplaySpins)) +
                    " spins, the most one replay plays");
    }
    named.push_back({"the spin file " + path, input->identity, true});
    spinFiles.emplace_back(path, std::move(file));
  }
  std::vector<PendingResult> pending;
  const std::pair<std::string, std::string> outputs[] = {{"--json", command.outputs.json},
                                                         {"--csv", command.outputs.csv},
                                                         {"--plot", command.outputs.plot}};
  for (const auto& [option, path] : outputs) {
    if (path.empty() || path == "-") continue;
    ResultFile file(path);
    std::string error;
    if (!file.Prepare(error)) return Fail(error, kCannotWrite);
    named.push_back({option + " " + path, file.Identity()});
    pending.push_back({option, std::move(file)});
  }
  if (const std::optional<FileIdentity> shown = RegularFileIdentity(STDOUT_FILENO)) {
    named.push_back({"standard output", *shown});
  }
  // Reading one file twice does no harm; anything else would lose a result or the spins.
  for (std::size_t later = 1; later < named.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (named[later].identity == named[earlier].identity &&
          !(named[later].read && named[earlier].read)) {
        return Refuse(named[later].description + " is the same file as " +
                      named[earlier].description);
      }
    }
  }

  Rendered rendered;
  std::optional<PlotData> plot;
  if (command.kind == LabCommandKind::kSimulate) {
    const SimulationSettings& settings = command.simulation;
    std::optional<SimulationResult> result;
    RunWithProgress([&](auto* done) { result = RunSimulation(settings, done); },
                    static_cast<std::int64_t>(settings.systems.size()) * settings.sessions *
                        settings.spinsPerSession);
    rendered.text = SimulationText(*result);
    rendered.json = SimulationJson(*result);
    rendered.csv = SimulationCsv(*result);
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
    rendered.text = ReplayText(settings, results);
    rendered.json = ReplayJson(settings, results);
    rendered.csv = ReplayCsv(settings, results);
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
