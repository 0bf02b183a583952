// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

struct PlotData;

// BANK over the spins as a PNG: each system's line and its 5-95 % band, with axes and a legend,
// in the program's colours. Needs a QGuiApplication (for the fonts).
QByteArray DrawBankPlotPng(const PlotData& plot);
