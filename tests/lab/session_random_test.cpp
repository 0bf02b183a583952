// SPDX-License-Identifier: GPL-3.0-or-later
// Known answers for the lab's generator, computed by a separate Python transcription of the two
// published reference algorithms. That transcription gives the authors' own reference outputs:
// SplitMix64 from 1234567 begins 6457827717110365317, 3203168211198807973; xoshiro256** from the
// state {1, 2, 3, 4} begins 11520, 0, 1509978240, 1215971899390074240. A generator that is uniform
// but not this one (another rotation, byte order or reduction onto 0..36) fails here, as would
// every seed a user has written down.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "lab/session_random.h"

namespace wheelwatcher {

namespace {

TEST(SessionRandomKnownAnswers, SeededThroughSplitMix64IntoXoshiro256StarStar) {
  SessionRandom words(1234567);
  const std::vector<std::uint64_t> expectedWords = {3504822795582309479u, 1819558768956484042u,
                                                    1250851346055027673u, 16940231675099994102u};
  for (std::uint64_t expected : expectedWords) EXPECT_EQ(words.NextWord(), expected);

  // The first two words, eight bytes each, lowest first.
  SessionRandom bytes(1234567);
  const std::vector<int> expectedBytes = {103, 4,  96,  99, 195, 161, 163, 48,
                                          202, 41, 153, 87, 15,  95,  64,  25};
  for (int expected : expectedBytes) EXPECT_EQ(bytes.NextByte(), expected);

  // The high 32 bits of each word, multiplied onto 0..36.
  SessionRandom wheel(1234567);
  const std::vector<int> expectedNumbers = {7, 3, 2, 33, 23, 16, 33, 13, 12, 7, 27, 11};
  for (int expected : expectedNumbers) EXPECT_EQ(wheel.NextWheelNumber(), expected);
}

// A run's seed reaches every session and stream through these; a change would make a printed
// `--seed` give other results than it gave before.
TEST(SessionRandomKnownAnswers, StreamSeedsOfARun) {
  const struct {
    const char* name;
    std::uint64_t session, stream, expected;
  } rows[] = {
      {"first session's wheel", 0, kWheelStream, 11241344834629033336u},
      {"second session's wheel", 1, kWheelStream, 8075172986249684972u},
      {"first session's system 1", 0, 1, 17770702679626417888u},
  };
  for (const auto& row : rows)
    EXPECT_EQ(StreamSeed(7, row.session, row.stream), row.expected) << row.name;
}

}  // namespace

}  // namespace wheelwatcher
