// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace wheelwatcher {

struct PlotData;

// BANK over the spins as a PNG: one panel per system, each with its middle line, its mean, its
// 5-95 % band, the ruin line and the share of sessions still playing, in the program's colours.
// Needs a QGuiApplication (for the fonts).
QByteArray DrawBankPlotPng(const PlotData& plot);

}  // namespace wheelwatcher
