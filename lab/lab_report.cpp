// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdio>
#include <string_view>

#include "systems/betting_systems.h"

namespace wheelwatcher {

namespace {

// Money for reading: whole amounts as they are, others with one decimal.
std::string Amount(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string number = text;
  if (number.ends_with(".0")) number.resize(number.size() - 2);
  return WithThousands(number == "-0" ? "0" : number);
}

std::string Percent(double share) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f %%", share * 100);
  return text;
}

std::string PercentRange(const Interval& interval) {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f to %.2f %%", interval.low * 100, interval.high * 100);
  return text;
}

// The shortest text that reads back as the same double.
std::string Number(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

template <std::integral Integer>
std::string Number(Integer value) {
  return std::to_string(value);
}

// The length of the well-formed UTF-8 sequence at the start of `text`, 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  // The second byte's range excludes overlong forms, UTF-16 surrogates and values past U+10FFFF.
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// File names are bytes, not always UTF-8. A byte that is not part of well-formed UTF-8 is
// written as the escape \udcXX (XX the byte), the convention by which Python and others carry
// such names through text, so the JSON stays valid and the name can be recovered.
std::string JsonString(std::string_view text) {
  std::string quoted = "\"";
  char escaped[8];
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text.substr(i));
    if (length == 0) {
      std::snprintf(escaped, sizeof escaped, "\\udc%02x", c);
      quoted += escaped;
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += text.substr(i, length);
    }
    i += std::max<std::size_t>(length, 1);
  }
  return quoted + "\"";
}

double StakedPerRun(const StakeTally& tally, int runs) {
  return static_cast<double>(tally.staked) / runs;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

// Columns as wide as their widest cell; the first left-aligned, the rest right-aligned.
class TextTable {
 public:
  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  std::string Render() const {
    std::vector<std::size_t> widths;
    for (const auto& row : rows_) {
      widths.resize(std::max(widths.size(), row.size()));
      for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    std::string text;
    for (const auto& row : rows_) {
      std::string line;
      for (std::size_t c = 0; c < row.size(); ++c) {
        const std::string padding(widths[c] - row[c].size(), ' ');
        line += c == 0 ? row[c] + padding : "   " + padding + row[c];
      }
      text += line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
    }
    return text;
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

template <typename Systems, typename Cell>
std::vector<std::string> Row(std::string label, const Systems& systems, Cell cell) {
  std::vector<std::string> row = {std::move(label)};
  for (const auto& system : systems) row.push_back(cell(system));
  return row;
}

std::string JsonSummary(const Summary& summary) {
  return "{\"mean\": " + Number(summary.mean) + ", \"median\": " + Number(summary.median) +
         ", \"p5\": " + Number(summary.p5) + ", \"p95\": " + Number(summary.p95) + "}";
}

std::string JsonLoss(const StakeTally& tally) {
  const Interval interval = NormalInterval(tally.LossShare(), tally.LossShareStandardError());
  return "{\"share\": " + Number(tally.LossShare()) +
         ", \"standardError\": " + Number(tally.LossShareStandardError()) +
         ", \"low\": " + Number(interval.low) + ", \"high\": " + Number(interval.high) + "}";
}

std::string JsonSystems(const std::vector<int>& systems) {
  std::string list;
  for (const int system : systems) list += (list.empty() ? "" : ", ") + std::to_string(system);
  return "[" + list + "]";
}

const char* const kHouseEdgeLine = "house edge 1/37 = 2.70 % of the amount staked\n";

}  // namespace

std::string WithThousands(std::string number) {
  // Built afresh rather than with string::insert, which GCC 12 at -O2 misreads as overlapping.
  const std::size_t first = number[0] == '-' ? 1 : 0;
  const std::size_t point = std::min(number.find('.'), number.size());
  std::string grouped = number.substr(0, first);
  for (std::size_t i = first; i < point; ++i) {
    if (i > first && (point - i) % 3 == 0) grouped += ',';
    grouped += number[i];
  }
  return grouped + number.substr(point);
}

std::string GroupedInteger(long long value) { return WithThousands(std::to_string(value)); }

std::string SystemTitle(int systemNumber) {
  // The short name is "SY  " and the name.
  return GetSystemName(systemNumber, true).substr(4);
}

std::string SimulationText(const SimulationResult& result) {
  const SimulationSettings& s = result.settings;
  std::string text = GroupedInteger(s.sessions) + " sessions of up to " +
                     GroupedInteger(s.spinsPerSession) +
                     " spins per system on a fair single-zero wheel\nbase stake " +
                     std::to_string(s.baseStake) + ", bankroll " + GroupedInteger(s.bankroll) +
                     ", stop-win " + (s.stopWin ? GroupedInteger(*s.stopWin) : "none") + ", seed " +
                     std::to_string(s.seed) + "\n\n";
  const auto& systems = result.systems;
  TextTable table;
  table.AddRow(
      Row("", systems, [](const SystemSimulation& r) { return SystemTitle(r.systemNumber); }));
  table.AddRow(Row("sessions ruined", systems, [](const SystemSimulation& r) {
    return Percent(static_cast<double>(r.ruined) / static_cast<double>(r.sessions));
  }));
  table.AddRow(Row("  95 % interval", systems,
                   [](const SystemSimulation& r) { return PercentRange(r.riskOfRuin); }));
  if (s.stopWin) {
    table.AddRow(Row("sessions at stop-win", systems, [](const SystemSimulation& r) {
      return Percent(static_cast<double>(r.reachedStopWin) / static_cast<double>(r.sessions));
    }));
  }
  table.AddRow(Row("final BANK mean", systems,
                   [](const SystemSimulation& r) { return Amount(r.finalBank.mean); }));
  table.AddRow(Row("  median", systems,
                   [](const SystemSimulation& r) { return Amount(r.finalBank.median); }));
  table.AddRow(Row("  5th percentile", systems,
                   [](const SystemSimulation& r) { return Amount(r.finalBank.p5); }));
  table.AddRow(Row("  95th percentile", systems,
                   [](const SystemSimulation& r) { return Amount(r.finalBank.p95); }));
  table.AddRow(Row("worst BANK seen", systems,
                   [](const SystemSimulation& r) { return GroupedInteger(r.worstBank); }));
  table.AddRow(Row("largest stake asked for", systems,
                   [](const SystemSimulation& r) { return GroupedInteger(r.largestStake); }));
  table.AddRow(Row("total staked", systems, [](const SystemSimulation& r) {
    return WithThousands(TotalDigits(r.tally.staked));
  }));
  table.AddRow(Row("realised loss of staked", systems,
                   [](const SystemSimulation& r) { return Percent(r.tally.LossShare()); }));
  table.AddRow(Row("  95 % interval", systems,
                   [](const SystemSimulation& r) { return PercentRange(r.realisedLoss); }));
  return text + table.Render() + "\n" + kHouseEdgeLine;
}

std::string SimulationJson(const SimulationResult& result) {
  const SimulationSettings& s = result.settings;
  std::string json =
      "{\n  \"command\": \"simulate\",\n  \"settings\": {\"systems\": " + JsonSystems(s.systems) +
      ", \"baseStake\": " + Number(s.baseStake) +
      ", \"spinsPerSession\": " + Number(s.spinsPerSession) +
      ", \"sessions\": " + Number(s.sessions) + ", \"bankroll\": " + Number(s.bankroll) +
      ", \"stopWin\": " + (s.stopWin ? Number(*s.stopWin) : "null") +
      ", \"seed\": " + std::to_string(s.seed) + "},\n  \"houseEdge\": " + Number(kHouseEdge) +
      ",\n  \"systems\": [";
  for (std::size_t i = 0; i < result.systems.size(); ++i) {
    const SystemSimulation& r = result.systems[i];
    json +=
        std::string(i == 0 ? "" : ",") + "\n    {\"system\": " + Number(r.systemNumber) +
        ", \"name\": " + JsonString(SystemTitle(r.systemNumber)) +
        ", \"sessions\": " + Number(r.sessions) + ", \"spinsPlayed\": " + Number(r.spinsPlayed) +
        ", \"ruined\": " + Number(r.ruined) + ", \"riskOfRuin\": {\"share\": " +
        Number(static_cast<double>(r.ruined) / static_cast<double>(r.sessions)) +
        ", \"low\": " + Number(r.riskOfRuin.low) + ", \"high\": " + Number(r.riskOfRuin.high) +
        "}, \"reachedStopWin\": " + Number(r.reachedStopWin) +
        ", \"finalBank\": " + JsonSummary(r.finalBank) + ", \"worstBank\": " + Number(r.worstBank) +
        ", \"largestStake\": " + Number(r.largestStake) +
        ", \"totalStaked\": " + TotalDigits(r.tally.staked) +
        ", \"realisedLoss\": " + JsonLoss(r.tally) + "}";
  }
  return json + "\n  ]\n}\n";
}

std::string SimulationCsv(const SimulationResult& result) {
  const SimulationSettings& s = result.settings;
  std::string csv =
      "system,name,sessions,spins_per_session,base_stake,bankroll,stop_win,seed,spins_played,"
      "ruined,risk_of_ruin,risk_of_ruin_low,risk_of_ruin_high,reached_stop_win,final_bank_mean,"
      "final_bank_median,final_bank_p5,final_bank_p95,worst_bank,largest_stake,total_staked,"
      "realised_loss,realised_loss_low,realised_loss_high,house_edge\n";
  for (const SystemSimulation& r : result.systems) {
    const std::vector<std::string> fields = {
        Number(r.systemNumber),
        SystemTitle(r.systemNumber),
        Number(r.sessions),
        Number(s.spinsPerSession),
        Number(s.baseStake),
        Number(s.bankroll),
        s.stopWin ? Number(*s.stopWin) : "",
        std::to_string(s.seed),
        Number(r.spinsPlayed),
        Number(r.ruined),
        Number(static_cast<double>(r.ruined) / static_cast<double>(r.sessions)),
        Number(r.riskOfRuin.low),
        Number(r.riskOfRuin.high),
        Number(r.reachedStopWin),
        Number(r.finalBank.mean),
        Number(r.finalBank.median),
        Number(r.finalBank.p5),
        Number(r.finalBank.p95),
        Number(r.worstBank),
        Number(r.largestStake),
        TotalDigits(r.tally.staked),
        Number(r.tally.LossShare()),
        Number(r.realisedLoss.low),
        Number(r.realisedLoss.high),
        Number(kHouseEdge),
    };
    std::string row;
    for (const std::string& field : fields) row += (row.empty() ? "" : ",") + field;
    csv += row + "\n";
  }
  return csv;
}

std::string ReplayText(const ReplaySettings& settings, const std::vector<ReplayResult>& results) {
  std::string text;
  for (const ReplayResult& result : results) {
    if (!text.empty()) text += "\n";
    text += result.file + ": " + GroupedInteger(static_cast<long long>(result.spins.size())) +
            " spins, " + GroupedInteger(settings.runs) + " runs per system, base stake " +
            std::to_string(settings.baseStake) + ", seed " + std::to_string(settings.seed) + "\n\n";
    const auto& systems = result.systems;
    TextTable summary;
    summary.AddRow(
        Row("", systems, [](const SystemReplay& r) { return SystemTitle(r.systemNumber); }));
    summary.AddRow(Row("final BANK mean", systems,
                       [](const SystemReplay& r) { return Amount(r.finalBank.mean); }));
    summary.AddRow(
        Row("  median", systems, [](const SystemReplay& r) { return Amount(r.finalBank.median); }));
    summary.AddRow(Row("  5th percentile", systems,
                       [](const SystemReplay& r) { return Amount(r.finalBank.p5); }));
    summary.AddRow(Row("  95th percentile", systems,
                       [](const SystemReplay& r) { return Amount(r.finalBank.p95); }));
    summary.AddRow(Row("worst BANK", systems,
                       [](const SystemReplay& r) { return GroupedInteger(r.worstBank); }));
    summary.AddRow(Row("largest deficit", systems,
                       [](const SystemReplay& r) { return GroupedInteger(r.largestDeficit); }));
    summary.AddRow(Row("largest stake", systems,
                       [](const SystemReplay& r) { return GroupedInteger(r.largestStake); }));
    summary.AddRow(Row("staked per run", systems, [&](const SystemReplay& r) {
      return Amount(StakedPerRun(r.tally, settings.runs));
    }));
    summary.AddRow(Row("realised loss of staked", systems,
                       [](const SystemReplay& r) { return Percent(r.tally.LossShare()); }));
    text += summary.Render() + "\n" + kHouseEdgeLine +
            "\nBANK after each spin: mean of the runs [5th to 95th percentile]\n";
    TextTable steps;
    std::vector<std::string> heading = {"spin", "number"};
    for (const SystemReplay& r : systems) heading.push_back(SystemTitle(r.systemNumber));
    steps.AddRow(heading);
    for (std::size_t spin = 0; spin < result.spins.size(); ++spin) {
      std::vector<std::string> row = {std::to_string(spin + 1), std::to_string(result.spins[spin])};
      for (const SystemReplay& r : systems) {
        const ReplayStep& step = r.afterSpin[spin];
        row.push_back(Amount(step.meanBank) + " [" + Amount(step.p5Bank) + ", " +
                      Amount(step.p95Bank) + "]");
      }
      steps.AddRow(row);
    }
    text += steps.Render();
  }
  return text;
}

std::string ReplayJson(const ReplaySettings& settings, const std::vector<ReplayResult>& results) {
  std::string json =
      "{\n  \"command\": \"replay\",\n  \"settings\": {\"systems\": " +
      JsonSystems(settings.systems) + ", \"baseStake\": " + Number(settings.baseStake) +
      ", \"runs\": " + Number(settings.runs) + ", \"seed\": " + std::to_string(settings.seed) +
      "},\n  \"houseEdge\": " + Number(kHouseEdge) + ",\n  \"files\": [";
  for (std::size_t f = 0; f < results.size(); ++f) {
    const ReplayResult& result = results[f];
    std::string spins;
    for (const std::int32_t spin : result.spins) {
      spins += (spins.empty() ? "" : ", ") + std::to_string(spin);
    }
    json += std::string(f == 0 ? "" : ",") + "\n    {\"file\": " + JsonString(result.file) +
            ", \"spins\": [" + spins + "], \"systems\": [";
    for (std::size_t i = 0; i < result.systems.size(); ++i) {
      const SystemReplay& r = result.systems[i];
      json += std::string(i == 0 ? "" : ",") + "\n      {\"system\": " + Number(r.systemNumber) +
              ", \"name\": " + JsonString(SystemTitle(r.systemNumber)) +
              ", \"finalBank\": " + JsonSummary(r.finalBank) +
              ", \"worstBank\": " + Number(r.worstBank) +
              ", \"largestDeficit\": " + Number(r.largestDeficit) +
              ", \"largestStake\": " + Number(r.largestStake) +
              ", \"stakedPerRun\": " + Number(StakedPerRun(r.tally, settings.runs)) +
              ", \"realisedLoss\": " + JsonLoss(r.tally) + ", \"afterSpin\": [";
      for (std::size_t spin = 0; spin < r.afterSpin.size(); ++spin) {
        const ReplayStep& step = r.afterSpin[spin];
        json += std::string(spin == 0 ? "" : ",") + "\n        {\"spin\": " + Number(spin + 1) +
                ", \"number\": " + Number(result.spins[spin]) +
                ", \"meanBank\": " + Number(step.meanBank) +
                ", \"p5Bank\": " + Number(step.p5Bank) + ", \"p95Bank\": " + Number(step.p95Bank) +
                ", \"worstBank\": " + Number(step.worstBank) +
                ", \"largestDeficit\": " + Number(step.largestDeficit) +
                ", \"largestStake\": " + Number(step.largestStake) + "}";
      }
      json += "]}";
    }
    json += "]}";
  }
  return json + "\n  ]\n}\n";
}

std::string ReplayCsv(const ReplaySettings& settings, const std::vector<ReplayResult>& results) {
  std::string csv =
      "file,system,name,runs,base_stake,seed,spin,number,bank_mean,bank_p5,bank_p95,worst_bank,"
      "largest_deficit,largest_stake\n";
  for (const ReplayResult& result : results) {
    for (const SystemReplay& r : result.systems) {
      const std::string head = CsvField(result.file) + "," + Number(r.systemNumber) + "," +
                               SystemTitle(r.systemNumber) + "," + Number(settings.runs) + "," +
                               Number(settings.baseStake) + "," + std::to_string(settings.seed);
      for (std::size_t spin = 0; spin < r.afterSpin.size(); ++spin) {
        const ReplayStep& step = r.afterSpin[spin];
        csv += head + "," + Number(spin + 1) + "," + Number(result.spins[spin]) + "," +
               Number(step.meanBank) + "," + Number(step.p5Bank) + "," + Number(step.p95Bank) +
               "," + Number(step.worstBank) + "," + Number(step.largestDeficit) + "," +
               Number(step.largestStake) + "\n";
      }
    }
  }
  return csv;
}

}  // namespace wheelwatcher
