// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_report.h"

#include <gtest/gtest.h>

#include <string>

#include "lab/stake_tally.h"

namespace wheelwatcher {

namespace {

// File names are bytes; the JSON stays valid UTF-8 whatever they hold.
TEST(LabReport, JsonCarriesAnyFileName) {
  struct Case {
    std::string name;
    std::string file;
    std::string json;
  };
  const Case cases[] = {
      {"Plain", "evening.txt", "evening.txt"},
      {"QuoteAndBackslash", "a\"b\\c", "a\\\"b\\\\c"},
      {"ControlCharacters", "a\x01\x1f\x7f", "a\\u0001\\u001f\\u007f"},
      {"WellFormedUtf8", "s\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB2",
       "s\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB2"},
      {"LoneByte",
       "a\xFF"
       "b",
       "a\\udcffb"},
      {"ContinuationWithoutLead", "\x80", "\\udc80"},
      {"Overlong", "\xC0\xAF", "\\udcc0\\udcaf"},
      {"EncodedSurrogate", "\xED\xA0\x80", "\\udced\\udca0\\udc80"},
      {"BeyondTheLastCodePoint", "\xF4\x90\x80\x80", "\\udcf4\\udc90\\udc80\\udc80"},
      {"CutShort", "x\xE2\x82", "x\\udce2\\udc82"},
  };
  ReplaySettings settings;
  settings.systems = {};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string json = ReplayJson(settings, {ReplayResult{c.file, {7}, {}}});
    EXPECT_NE(json.find("{\"file\": \"" + c.json + "\", \"spins\": [7]"), std::string::npos)
        << json;
  }
}

// Sums of stakes pass 2^53 in long runs; they are printed digit for digit, not through a double.
TEST(LabReport, TotalsAreExactBeyondWhatADoubleHolds) {
  struct Case {
    std::string name;
    MoneyTotal total;
    std::string digits;
  };
  const MoneyTotal highest = ~(static_cast<MoneyTotal>(1) << 127);
  const Case cases[] = {
      {"Zero", 0, "0"},
      {"MinusOne", -1, "-1"},
      {"TwoToThe53PlusOne", (static_cast<MoneyTotal>(1) << 53) + 1, "9007199254740993"},
      {"Highest", highest, "170141183460469231731687303715884105727"},
      {"Lowest", -highest - 1, "-170141183460469231731687303715884105728"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TotalDigits(c.total), c.digits) << c.name;
  }

  SimulationResult result;
  result.settings.systems = {3};
  result.systems.resize(1);
  result.systems[0].systemNumber = 3;
  StakeTally& tally = result.systems[0].tally;
  for (int bet = 0; bet < 3; ++bet) tally.AddBet(Money{1} << 62, 0);
  tally.AddBet(1, 1);
  EXPECT_NE(SimulationJson(result).find("\"totalStaked\": 13835058055282163713,"),
            std::string::npos);
  EXPECT_NE(SimulationCsv(result).find(",13835058055282163713,"), std::string::npos);
  EXPECT_NE(SimulationText(result).find("13,835,058,055,282,163,713"), std::string::npos);
}

}  // namespace

}  // namespace wheelwatcher
