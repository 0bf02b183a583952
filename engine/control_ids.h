// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wheelwatcher {

// Numeric ids of the main window's controls and timers; the window looks its controls up by them.
namespace control {
inline constexpr int kLayoutPicture = 1000;

// Text panels.
inline constexpr int kAdviceTicker = 1006;
inline constexpr int kNumberPanel = 1016;
inline constexpr int kStatusPanel = 1007;
inline constexpr int kBankPanel = 1008;

// History columns.
inline constexpr int kRedColumn = 1002;
inline constexpr int kZeroColumn = 1003;
inline constexpr int kBlackColumn = 1004;

// Highlight overlays of the outside bets.
inline constexpr int kRedsOverlay = 1014;
inline constexpr int kBlacksOverlay = 1001;
inline constexpr int kOddsOverlay = 1017;
inline constexpr int kEvensOverlay = 1013;
inline constexpr int kHighOverlay = 1018;
inline constexpr int kLowOverlay = 1012;
inline constexpr int kFirstOverlay = 1009;
inline constexpr int kSecondOverlay = 1010;
inline constexpr int kThirdOverlay = 1011;
inline constexpr int kLeftOverlay = 1015;
inline constexpr int kMiddleOverlay = 1019;
inline constexpr int kRightOverlay = 1020;

// Button faces laid over the layout picture.
inline constexpr int kFadedLiveWheel = 1030;
inline constexpr int kSavePicture = 1021;
inline constexpr int kGreyedSystem = 1022;
}  // namespace control

namespace timer {
inline constexpr int kBlink = 1;
inline constexpr int kStakeWindow = 2;
inline constexpr int kSystemWindow = 3;

inline constexpr int kBlinkPeriodMs = 500;
inline constexpr int kSelectionWindowMs = 2000;
}  // namespace timer

}  // namespace wheelwatcher
