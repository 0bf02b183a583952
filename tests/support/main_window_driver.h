// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "app/layout_picture.h"
#include "app/main_dialog.h"
#include "engine/control_ids.h"
#include "engine/region_code.h"
#include "online/external_links.h"
#include "online/fixed_addresses.h"
#include "platform/click_sound.h"
#include "platform/settings_store.h"
#include "systems/random_bytes.h"

namespace wheelwatcher {

// The real main window, offscreen, with quiet services: a silent click, no update check, and a save
// dialog answered by a hook; HELP opens the guide the program would open from this folder. Shared
// by the soak test and the benchmarks, which press it the way a player would.
class MainWindowDriver {
 public:
  // Returns the file to save to, or an empty text to cancel.
  using SaveAnswer = std::function<QString()>;

  explicit MainWindowDriver(SaveAnswer answerSaveDialog = {})
      : answerSaveDialog_(std::move(answerSaveDialog)) {
    window_ = std::make_unique<CMainDialog>(MainDialogServices{
        .random = random_,
        .clickSound = click_,
        .settings = settings_,
        .versionText = "V 5.004",
        .localeCurrencySymbol = "$",
        .runSaveDialog =
            [this](QFileDialog&) {
              ++saveDialogsShown_;
              return answerSaveDialog_ ? answerSaveDialog_() : QString();
            },
        .reportSaveFailure = [this](const QString&) { ++saveFailures_; },
        .startUpdateCheck = {},
        .helpAddress = HelpDocumentAddress(kHelpAddress, QCoreApplication::applicationDirPath()),
        .casinoAddresses = {},
    });
    window_->show();
    exposed_ = QTest::qWaitForWindowExposed(window_.get());
    FindPressPoints();
  }

  CMainDialog& Window() { return *window_; }
  bool Exposed() const { return exposed_; }
  const SpinTracker& Tracker() const { return window_->Tracker(); }
  int SaveDialogsShown() const { return saveDialogsShown_; }
  int SaveFailures() const { return saveFailures_; }

  // Presses the middle of a region (a number 0..36 or a button code) on the window itself, so
  // everything lying on top takes part as it would for a player.
  void Press(int regionCode) {
    QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {},
                      pressPoints_.at(static_cast<std::size_t>(regionCode)));
  }
  // The same press and release handed straight to the window, with no other event processed:
  // the press's own work and nothing the window does afterwards (layout, paint).
  void DeliverPress(int regionCode) {
    DeliverPressAt(pressPoints_.at(static_cast<std::size_t>(regionCode)));
  }
  // The same at any position, whole pixels or between them, as at display scales other than 1.
  void DeliverPressAt(QPointF where) {
    const QPointF global = window_->mapToGlobal(where);
    QMouseEvent press(QEvent::MouseButtonPress, where, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(window_->windowHandle(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, where, global, Qt::LeftButton, Qt::NoButton,
                        {});
    QApplication::sendEvent(window_->windowHandle(), &release);
  }
  bool CanPress(int regionCode) const {
    return regionCode >= 0 && regionCode < region::kNone &&
           pressPoints_[static_cast<std::size_t>(regionCode)].x() >= 0;
  }

 private:
  // A draw that never repeats a pattern the betting systems would notice.
  class SeededRandomBytes : public RandomBytes {
   public:
    std::uint8_t NextByte() override { return static_cast<std::uint8_t>(engine_() & 0xFF); }

   private:
    std::minstd_rand engine_{12345};
  };

  // For every region, the hit-map pixel nearest the middle of its part not covered by another
  // control, read from the same hit map the window uses.
  void FindPressPoints() {
    pressPoints_.fill(QPoint(-1, -1));
    const QImage hitMap(QStringLiteral(":/hitmap.png"));
    const QWidget* picture = window_->Control(control::kLayoutPicture);
    std::array<std::vector<QPoint>, region::kNone> inside;
    for (int y = 2; y < hitMap.height() - 2; ++y) {
      for (int x = 2; x < hitMap.width() - 2; ++x) {
        const int code = CodeAt(hitMap, x, y);
        if (code >= region::kNone || window_->childAt(x, y) != picture) continue;
        bool interior = true;
        for (int dy = -2; dy <= 2 && interior; ++dy) {
          for (int dx = -2; dx <= 2 && interior; ++dx) {
            interior = CodeAt(hitMap, x + dx, y + dy) == code;
          }
        }
        if (interior) inside[static_cast<std::size_t>(code)].emplace_back(x, y);
      }
    }
    for (std::size_t code = 0; code < inside.size(); ++code) {
      if (!inside[code].empty()) pressPoints_[code] = inside[code][inside[code].size() / 2];
    }
  }

  static int CodeAt(const QImage& hitMap, int x, int y) {
    const QRgb pixel = hitMap.pixel(x, y);
    return RegionCodeForColour(PackRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
  }

  SeededRandomBytes random_;
  // No wave and no alert: the click sound is left out of every figure.
  ClickSound click_{QByteArray(), [] {}};
  SettingsStore settings_;
  SaveAnswer answerSaveDialog_;
  int saveDialogsShown_ = 0;
  int saveFailures_ = 0;
  bool exposed_ = false;
  std::array<QPoint, region::kNone> pressPoints_{};
  std::unique_ptr<CMainDialog> window_;
};

}  // namespace wheelwatcher
