// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session_watch.h"

#include <QMessageBox>
#include <QWidget>

#include <algorithm>
#include <chrono>

#include "app/statistics_texts.h"
#include "app/statistics_window.h"
#include "app/window_placement.h"
#include "engine/table_state.h"
#include "platform/settings_store.h"
#include "table/spin_tracker.h"

namespace wheelwatcher {

namespace {

// Below this the window is too cramped to read beside the table; it goes over part of it.
constexpr QSize kLeastStatisticsSize(420, 360);
constexpr QSize kFrameSlack(8, 8);

// The limits from the settings file; a value it holds but that no limit can take (hand-edited,
// out of range) is named for the window rather than silently replaced by the default.
GuardrailLimits ReadLimitsNotingIgnored(const SettingsStore& settings, QString& ignored) {
  std::vector<std::string> rejected;
  const GuardrailLimits limits = settings.ReadGuardrailLimits(&rejected);
  QStringList lines;
  for (const std::string& line : rejected) lines << QString::fromStdString(line);
  if (!lines.isEmpty()) {
    ignored = SessionWatch::tr(
                  "Your settings file has %1, which no limit can take: the limit shown is the "
                  "default until you set it here.")
                  .arg(lines.join(QStringLiteral(", ")));
  }
  return limits;
}

}  // namespace

SessionWatch::SessionWatch(const SpinTracker& tracker, SettingsStore& settings, QWidget& mainWindow,
                           ShowTickerLine showTickerLine, Now now)
    : tracker_(tracker),
      settings_(settings),
      mainWindow_(mainWindow),
      showTickerLine_(std::move(showTickerLine)),
      now_(std::move(now)),
      guardrails_(ReadLimitsNotingIgnored(settings, ignoredSettings_)) {
  sessionTimer_.setSingleShot(true);
  connect(&sessionTimer_, &QTimer::timeout, this, [this] { CheckGuardrails(false); });
}

// The window and the message read the table, which goes with the main window: they go first.
SessionWatch::~SessionWatch() {
  delete message_.data();
  delete window_.data();
}

StatisticsWindow* SessionWatch::OpenedWindow() const { return window_; }

QMessageBox* SessionWatch::GuardrailMessage() const { return message_; }

void SessionWatch::OnTableChanged() {
  CheckGuardrails(true);
  if (window_) window_->Refresh();
}

void SessionWatch::OnSessionResumed() {
  const TableState& table = tracker_.State();
  const auto now = now_();
  for (std::size_t spins = 1; spins < table.bankHistory.size(); ++spins) {
    guardrails_.Update(static_cast<std::int64_t>(spins), table.bankHistory[spins], now);
  }
  OnTableChanged();
}

void SessionWatch::ShowStatisticsWindow() {
  if (!window_) {
    window_ = new StatisticsWindow(tracker_.State(), guardrails_, &mainWindow_);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    connect(window_, &StatisticsWindow::limitsChanged, this, &SessionWatch::OnLimitsChanged);
    for (int g = 0; g < kGuardrailCount; ++g) {
      const auto guardrail = static_cast<Guardrail>(g);
      if (guardrails_.IsReached(guardrail)) {
        window_->ShowGuardrailNotice(guardrail, notices_[static_cast<std::size_t>(g)]);
      }
    }
    if (!ignoredSettings_.isEmpty()) window_->ShowSettingsNotice(ignoredSettings_);
    // Wholly on the table's screen, beside the table where there is room; narrower where there
    // is not (its figures scroll), else over part of the table, which stays on top.
    // The table's frame is the measure; a resizable window's frame may be a little larger (a
    // resize handle), so some room is kept for that.
    const QSize frame = WithFrameOf(mainWindow_, QSize(0, 0)) + kFrameSlack;
    const QRect place = PlaceOnScreen(mainWindow_.frameGeometry(), window_->sizeHint() + frame,
                                      kLeastStatisticsSize + frame, AvailableScreenOf(mainWindow_));
    window_->resize(place.size() - frame);
    window_->move(place.topLeft());
  }
  window_->show();
  window_->raise();
}

void SessionWatch::OnLimitsChanged(const GuardrailLimits& limits) {
  guardrails_.SetLimits(limits);
  settings_.WriteGuardrailLimits(limits);
  OnTableChanged();
}

void SessionWatch::CheckGuardrails(bool afterOperation) {
  const TableState& table = tracker_.State();
  const auto now = now_();
  const std::vector<Guardrail> reached =
      guardrails_.Update(static_cast<std::int64_t>(table.spins.size()), table.bank, now);
  std::string tickerLine;
  for (Guardrail guardrail : reached) {
    Report(guardrail);
    if (!tickerLine.empty()) tickerLine += "     ";
    tickerLine +=
        GuardrailTickerLine(guardrail, guardrails_.Limits(), table.bank, table.currencySymbol);
  }
  if (!tickerLine.empty()) showTickerLine_(tickerLine, afterOperation);

  if (const auto due = guardrails_.SessionTimeDue()) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*due - now);
    sessionTimer_.start(static_cast<int>(std::max<std::int64_t>(0, wait.count())));
  } else {
    sessionTimer_.stop();
  }
}

void SessionWatch::Report(Guardrail guardrail) {
  const TableState& table = tracker_.State();
  const GuardrailLimits& limits = guardrails_.Limits();
  const auto amount = [&table](Money value) {
    return DisplayAmount(table.currencySymbol, static_cast<double>(value));
  };
  const QString bank = amount(table.bank);
  const auto spins = static_cast<qint64>(table.spins.size());
  QString notice;
  switch (guardrail) {
    case Guardrail::kStopLoss:
      notice = tr("Stop-loss reached after %1 spins: BANK %2, your limit is %3.")
                   .arg(spins)
                   .arg(bank, amount(-limits.stopLoss.value));
      break;
    case Guardrail::kStopWin:
      notice = tr("Stop-win reached after %1 spins: BANK %2, your limit is %3.")
                   .arg(spins)
                   .arg(bank, amount(limits.stopWin.value));
      break;
    case Guardrail::kSessionTime:
      notice = tr("Session time reached: %1 min since the first spin, %2 spins, BANK %3.")
                   .arg(limits.sessionMinutes.value)
                   .arg(spins)
                   .arg(bank);
      break;
  }
  notices_[static_cast<std::size_t>(guardrail)] = notice;
  if (window_) window_->ShowGuardrailNotice(guardrail, notice);
  ShowMessage(notice + QLatin1Char(' ') + tr("Nothing has been stopped: playing on is your call."));
}

void SessionWatch::ShowMessage(const QString& text) {
  if (message_) {
    message_->setText(message_->text() + QStringLiteral("\n\n") + text);
  } else {
    message_ = new QMessageBox(QMessageBox::Information, tr("Wheelwatcher guardrail"), text,
                               QMessageBox::Ok, &mainWindow_);
    message_->setObjectName(QStringLiteral("guardrailMessage"));
    // Shown, never run, and without taking the keyboard: the table stays in play while the
    // message is up, typed numbers included. A screen reader hears the crossing on the ticker.
    message_->setWindowModality(Qt::NonModal);
    message_->setAttribute(Qt::WA_ShowWithoutActivating);
    message_->setAttribute(Qt::WA_DeleteOnClose);
  }
  // Shown first: the box settles its size as it is shown, and the place depends on it.
  message_->show();
  // Beside the main window and the statistics window; where the screen has no room for that,
  // over the statistics window rather than off the screen, but never over the table.
  const QSize size = WithFrameOf(mainWindow_, message_->size());
  const QRect screen = AvailableScreenOf(mainWindow_);
  QPoint place = PlaceBeside(mainWindow_.frameGeometry(), size, screen);
  if (window_ && window_->isVisible()) {
    const QPoint besideBoth =
        PlaceBeside(mainWindow_.frameGeometry().united(window_->frameGeometry()), size, screen);
    if (screen.contains(QRect(besideBoth, size))) place = besideBoth;
  }
  message_->move(place);
}

}  // namespace wheelwatcher
