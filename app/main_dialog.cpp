// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_dialog.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <chrono>

#include "app/about_dialog.h"
#include "app/accessibility_announcer.h"
#include "app/after_first_paint.h"
#include "app/history_column_view.h"
#include "app/layout_picture.h"
#include "app/layout_picture_accessible.h"
#include "app/screen_picture.h"
#include "app/session_watch.h"
#include "app/window_placement.h"
#include "engine/bet_code.h"
#include "engine/control_ids.h"
#include "engine/region_code.h"
#include "online/external_links.h"
#include "panels/ticker_panel.h"
#include "panels/ticker_panel_accessible.h"
#include "platform/click_sound.h"
#include "platform/journal_store.h"
#include "platform/safe_file.h"
#include "platform/settings_store.h"
#include "resources/strings.h"

namespace wheelwatcher {

namespace {

struct PictureControl {
  int id;
  const char* picture;
  int x;
  int y;
};

// Highlight overlays and button faces, each laid exactly over what it lights up or covers.
constexpr PictureControl kPictureControls[] = {
    {1009, ":/highlight-first.png", 38, 88},          {1010, ":/highlight-second.png", 38, 205},
    {1011, ":/highlight-third.png", 38, 320},         {1012, ":/highlight-low.png", 156, 88},
    {1013, ":/highlight-evens.png", 156, 146},        {1014, ":/highlight-reds.png", 156, 205},
    {1001, ":/highlight-blacks.png", 156, 263},       {1017, ":/highlight-odds.png", 156, 320},
    {1018, ":/highlight-high.png", 156, 380},         {1015, ":/highlight-column.png", 68, 436},
    {1019, ":/highlight-column-middle.png", 98, 436}, {1020, ":/highlight-column.png", 128, 436},
    {1030, ":/livewheel-faded.png", 226, 9},          {1021, ":/save.png", 210, 380},
    {1022, ":/stake-greyed.png", 210, 414},
};

struct HistoryColumnPlace {
  int id;
  HistoryColumn column;
  QColor textColour;
  int x;
  const char* accessibleName;
};

constexpr int kHistoryTop = 70;
constexpr int kHistoryWidth = 22;
constexpr int kHistoryHeight = 265;

QString RunSaveDialog(QFileDialog& dialog) {
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

}  // namespace

CMainDialog::CMainDialog(MainDialogServices services, QWidget* parent)
    // A normal window, not a dialog: it gets its own task-list entry, and no window manager treats
    // it as transient for Qt's hidden leader window.
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      services_(std::move(services)),
      tracker_(*this, services_.random),
      picture_(new CLayoutPicture(this)),
      typedNumberPause_(new QTimer(this)) {
  if (!services_.runSaveDialog) services_.runSaveDialog = RunSaveDialog;
  if (!services_.reportSaveFailure) {
    services_.reportSaveFailure = [this](const QString& reason) {
      QMessageBox::warning(this, windowTitle(),
                           tr("The spin history could not be saved.\n%1").arg(reason));
    };
  }
  OnInitDialog();
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::OnInitDialog() {
  setFixedSize(280, 560);
  QFont font;
  font.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")});
  font.setPointSize(10);
  setFont(font);

  picture_->setObjectName(QString::number(control::kLayoutPicture));
  picture_->setGeometry(0, 0, 280, 560);
  connect(picture_, &CLayoutPicture::clicked, this, &CMainDialog::OnPictureClicked);
  connect(picture_, &CLayoutPicture::colourRecorded, this, &CMainDialog::OnSetCursor);

  // Every overlay starts hidden: only their sizes are read now, the pictures after the first paint.
  for (const PictureControl& place : kPictureControls) {
    auto* overlay = new QLabel(this);
    overlay->setObjectName(QString::number(place.id));
    overlay->setGeometry(
        QRect(QPoint(place.x, place.y), QImageReader(QString::fromLatin1(place.picture)).size()));
    overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
  }

  const HistoryColumnPlace historyPlaces[] = {
      {control::kRedColumn, HistoryColumn::kRed, QColor(250, 40, 40), 196, "History, red"},
      {control::kZeroColumn, HistoryColumn::kZero, QColor(10, 250, 10), 226, "History, zero"},
      {control::kBlackColumn, HistoryColumn::kBlack, QColor(213, 213, 0), 252, "History, black"},
  };
  for (std::size_t i = 0; i < std::size(historyPlaces); ++i) {
    const HistoryColumnPlace& place = historyPlaces[i];
    historyColumns_[i] = new HistoryColumnModel(tracker_, place.column, place.textColour, this);
    auto* view = new HistoryColumnView(historyColumns_[i], this);
    view->setObjectName(QString::number(place.id));
    view->setAccessibleName(QString::fromLatin1(place.accessibleName));
    view->setGeometry(place.x, kHistoryTop, kHistoryWidth, kHistoryHeight);
  }

  const struct {
    int id;
    QPoint place;
    const char* accessibleDescription;
  } panelPlaces[] = {{control::kAdviceTicker, {8, 14}, "Advice"},
                     {control::kNumberPanel, {14, 54}, "Advised number"},
                     {control::kStatusPanel, {8, 493}, "Status"},
                     {control::kBankPanel, {8, 529}, "Bank"}};
  for (const auto& place : panelPlaces) {
    auto* panel = new CTickerPanel(this);
    panel->setObjectName(QString::number(place.id));
    panel->setAccessibleDescription(QString::fromLatin1(place.accessibleDescription));
    panel->move(place.place);
    panels_[place.id] = panel;
  }
  ConfigurePanel(panels_[control::kAdviceTicker], 19, 0);
  ConfigurePanel(panels_[control::kBankPanel], 10, 1);
  ConfigurePanel(panels_[control::kStatusPanel], 10, 1);
  ConfigurePanel(panels_[control::kNumberPanel], 2, 1);
  // The advice holds the focus, so a screen reader reads each new advice aloud as it comes. The
  // panel takes no keys: they all still reach the window.
  panels_[control::kAdviceTicker]->setFocus();

  picture_->SetPictures(QStringLiteral(":/layout.png"), QStringLiteral(":/hitmap.png"));
  tracker_.Start(services_.localeCurrencySymbol, services_.settings.ReadSystemText(),
                 services_.versionText);
  // After the start: the welcome is read with the focus, not announced besides.
  announcer_ = new AccessibleAnnouncer(this);
  typedNumberPause_->setSingleShot(true);
  typedNumberPause_->setTimerType(Qt::PreciseTimer);
  connect(typedNumberPause_, &QTimer::timeout, this, &CMainDialog::OnTypedNumberPause);
  // A guardrail reached puts its line on the ticker once, ahead of the advice it comes with.
  sessionWatch_ = std::make_unique<SessionWatch>(
      tracker_, services_.settings, *this, [this](const std::string& line, bool afterOperation) {
        tracker_.ShowAdvice(" " + line + "     ", afterOperation);
      });
  if (services_.startUpdateCheck) updateWorker_ = services_.startUpdateCheck(*this, *this);
  RunAfterFirstPaint(*this, [this] { OnFirstIdle(); });
}

// What the first picture does not show is made ready while the window is idle after it: the
// overlays (all hidden at start), the icon, and the History font, which would otherwise be
// loaded by the first click.
void CMainDialog::OnFirstIdle() {
  for (const PictureControl& place : kPictureControls) {
    if (auto* overlay = qobject_cast<QLabel*>(Control(place.id))) {
      overlay->setPixmap(LoadScreenPicture(QString::fromLatin1(place.picture)));
    }
  }
  setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
  WarmHistoryFont();
  ReadLastSession();
}

void CMainDialog::KeepSessionIn(JournalStore& journal) {
  journal_ = &journal;
  journal_->SetFailureReport([this](const std::string& reason) {
    ShowJournalMessage(tr("This session is not being kept: %1. Play goes on.")
                           .arg(QString::fromStdString(reason)));
  });
  tracker_.SetRecorder(journal_);
}

// After the first paint: a long journal is read while the player looks at the table.
void CMainDialog::ReadLastSession() {
  if (journal_ == nullptr) return;
  JournalStore::LastSession last = journal_->ReadLastSessionAndPrune();
  // A spin entered before the journal was read begins a session of its own.
  if (!tracker_.State().started) resumable_ = std::move(last.session);
  if (!last.problem.empty()) ShowJournalMessage(QString::fromStdString(last.problem));
}

bool CMainDialog::CanResume() const {
  // Only until the first spin of this run: from then on this run's journal is the last session.
  return resumable_ && !tracker_.State().started && journal_->FilePath().empty();
}

void CMainDialog::ResumeLastSession() {
  if (!CanResume()) return;
  const JournalSession session = std::move(*resumable_);
  resumable_.reset();
  const std::string spins =
      std::to_string(session.spins) + (session.spins == 1 ? " spin" : " spins");
  // The advice holds the focus, so a screen reader says this as it says every advice.
  const std::string problem = tracker_.Resume(session, " Session resumed: " + spins + ".     ");
  if (!problem.empty()) {
    ShowJournalMessage(
        tr("The last session could not be brought back: %1. A fresh session goes on.")
            .arg(QString::fromStdString(problem)));
    return;
  }
  journal_->ContinueFrom(session);
  sessionWatch_->OnSessionResumed();
}

void CMainDialog::ShowJournalMessage(const QString& text) {
  auto* message =
      new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
  message->setObjectName(QStringLiteral("journalMessage"));
  // Play goes on while it is up, typed numbers included; a screen reader is told through the
  // announcer instead of a focus move.
  message->setWindowModality(Qt::NonModal);
  message->setAttribute(Qt::WA_ShowWithoutActivating);
  message->setAttribute(Qt::WA_DeleteOnClose);
  // Shown first, so that its size is settled; then beside the table, which stays on top and would
  // hide it.
  message->show();
  message->move(
      PlaceBeside(frameGeometry(), WithFrameOf(*this, message->size()), AvailableScreenOf(*this)));
  announcer_->Say(text);
}

void CMainDialog::WarmHistoryFont() {
  QImage scratch(160, 40, QImage::Format_RGB32);
  QPainter painter(&scratch);
  painter.setFont(font());
  painter.drawText(scratch.rect(), Qt::AlignCenter, QStringLiteral("0123456789"));
}

void CMainDialog::ConfigurePanel(CTickerPanel* panel, int columns, int direction) {
  panel->SetRows(1);
  panel->SetColumns(columns);
  panel->SetGlyphSize(2);
  panel->SetPalette(Qt::black, Qt::white, Qt::black);
  panel->FitColumns(columns);
  panel->FitRows(1);
  panel->SetPadding(true, ' ');
  panel->StartScrolling(150, direction);
}

QWidget* CMainDialog::Control(int controlId) const {
  return findChild<QWidget*>(QString::number(controlId), Qt::FindDirectChildrenOnly);
}

int CMainDialog::HitTest() const { return RegionCodeForColour(picture_->RecordedColour()); }

void CMainDialog::OnPictureClicked() {
  const int code = HitTest();
  // What was pressed comes first in what a screen reader then says; STAKE and SYSTEM name
  // themselves on the status panel.
  if (code <= kHighestNumber || code == region::kRewind || code == region::kClearAll) {
    announcer_->SetLead(RegionName(code, tracker_.State().started));
  }
  tracker_.OnRegionClicked(code);
  sessionWatch_->OnTableChanged();
}

void CMainDialog::OnSetCursor() {
  picture_->setCursor(HitTest() < region::kFirstUnclickable ? Qt::PointingHandCursor
                                                            : Qt::ArrowCursor);
}

void CMainDialog::ShowControl(int controlId) {
  if (QWidget* widget = Control(controlId)) widget->show();
}

void CMainDialog::HideControl(int controlId) {
  if (QWidget* widget = Control(controlId)) widget->hide();
}

void CMainDialog::SetPanelText(int panelId, const std::string& text) {
  const auto panel = panels_.find(panelId);
  if (panel == panels_.end()) return;
  const bool newMessage = panel->second->message() != text;
  panel->second->SetText(text);
  if (!newMessage || panelId == control::kNumberPanel) return;  // the number panel blinks
  if (panelId == control::kAdviceTicker) ShowAdvisedNumberName();
  // Said in the order of a glance down the window's texts: status, BANK, then the advice.
  const int order = panelId == control::kStatusPanel ? 0 : panelId == control::kBankPanel ? 1 : 2;
  if (announcer_) announcer_->Note(order, SpokenPanelText(text));
}

// The number panel blinks; what it reads is the advised number, steady.
void CMainDialog::ShowAdvisedNumberName() {
  const std::vector<BetCode>& betCodes = tracker_.State().betCodes;
  const BetCodeParts parts = SplitBetCode(betCodes.empty() ? kNoNumber : betCodes.back());
  panels_[control::kNumberPanel]->setAccessibleName(
      HasNumberBet(parts) ? QString::number(parts.number) : QStringLiteral("none"));
}

void CMainDialog::HistoryRowAdded() {
  for (HistoryColumnModel* column : historyColumns_) column->RowAdded();
}

void CMainDialog::NewestHistoryRowRemoved() {
  for (HistoryColumnModel* column : historyColumns_) column->NewestRowRemoved();
}

void CMainDialog::HistoryColumnsCleared() {
  for (HistoryColumnModel* column : historyColumns_) column->Cleared();
}

void CMainDialog::HistoryColumnsRefilled() {
  for (HistoryColumnModel* column : historyColumns_) column->Refilled();
}

void CMainDialog::StartTimer(int timerId, int periodMs) {
  QTimer*& timer = timers_[timerId];
  if (!timer) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, timerId] { tracker_.OnTimerTick(timerId); });
  }
  timer->start(periodMs);
}

void CMainDialog::StopTimer(int timerId) {
  const auto timer = timers_.find(timerId);
  if (timer != timers_.end()) timer->second->stop();
}

void CMainDialog::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void CMainDialog::PlayClickSound() { services_.clickSound.Play(); }

void CMainDialog::OpenLiveWheelLinks() {
  wheelwatcher::OpenLiveWheelLinks(*this, services_.casinoAddresses);
}

void CMainDialog::OpenHelpDocument() {
  wheelwatcher::OpenHelpDocument(*this, services_.helpAddress);
}

void CMainDialog::OnUpdateCheckStarted() { tracker_.OnUpdateCheckStarted(); }

void CMainDialog::OnUpdateCheckFinished() { tracker_.OnUpdateCheckFinished(); }

void CMainDialog::SaveSpinHistory(const std::string& report) {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.setNameFilter(QStringLiteral("Text files (*.txt)"));
  dialog.selectFile(QStringLiteral("Wheelwatcher Spin History"));
  const QString fileName = services_.runSaveDialog(dialog);
  if (fileName.isEmpty()) return;

  // Published whole and synced, or not at all: a full disk leaves an older export as it was.
  const std::string error = PublishFile(QFile::encodeName(fileName).toStdString(), report);
  if (!error.empty()) services_.reportSaveFailure(QString::fromLocal8Bit(error));
}

void CMainDialog::keyPressEvent(QKeyEvent* event) {
  // Enter and Escape never close the window: they end or drop a typed number, nothing else.
  const int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  // Some keyboard layouts (French, for one) give digits with Shift.
  const bool plain = (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier;
  if (key >= Qt::Key_0 && key <= Qt::Key_9 && plain) {
    OnDigitTyped(key - Qt::Key_0);
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    typedNumberPause_->stop();
    EnterTypedNumber(typedNumber_.End());
  } else if (key == Qt::Key_Escape) {
    typedNumberPause_->stop();
    typedNumber_.Cancel();
  } else if (key == Qt::Key_Backspace && modifiers == Qt::NoModifier) {
    // Takes back the digit being typed, else the last spin, as REWIND does.
    typedNumberPause_->stop();
    if (!typedNumber_.Cancel()) picture_->PressRegion(region::kRewind);
  } else if (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
    ShowWindowMenu(mapToGlobal(QPoint(width() / 4, height() / 8)));
  } else {
    QDialog::keyPressEvent(event);
    return;
  }
  event->accept();
}

void CMainDialog::OnDigitTyped(int digit) {
  const TypedNumberEntry::Outcome outcome =
      typedNumber_.Digit(digit, TypedNumberEntry::Clock::now());
  EnterTypedNumber(outcome.enter);
  if (outcome.rejected) announcer_->Say(tr("No number %1").arg(*outcome.rejected));
  WaitForTypedNumberPause();
}

void CMainDialog::OnTypedNumberPause() {
  EnterTypedNumber(typedNumber_.PauseElapsed(TypedNumberEntry::Clock::now()));
  WaitForTypedNumberPause();  // a timer may fire a little early
}

void CMainDialog::WaitForTypedNumberPause() {
  const auto deadline = typedNumber_.Deadline();
  if (!deadline) {
    typedNumberPause_->stop();
    return;
  }
  const auto wait =
      std::chrono::ceil<std::chrono::milliseconds>(*deadline - TypedNumberEntry::Clock::now());
  typedNumberPause_->start(static_cast<int>(std::max<std::int64_t>(0, wait.count())));
}

// A typed number takes the road of a press on it: click sound, spin, History and advice.
void CMainDialog::EnterTypedNumber(std::optional<int> number) {
  if (number) picture_->PressRegion(*number);
}

void CMainDialog::closeEvent(QCloseEvent* event) {
  services_.settings.WriteSystemText(tracker_.StoredSystemText());
  QDialog::closeEvent(event);
}

void CMainDialog::contextMenuEvent(QContextMenuEvent* event) {
  // The right button, or the Menu key.
  ShowWindowMenu(event->globalPos());
}

void CMainDialog::ShowWindowMenu(const QPoint& globalPosition) {
  // Stands in for the window's system menu: the window commands, then the About item.
  QMenu menu(this);
  menu.addAction(tr("Mi&nimize"), this, &QWidget::showMinimized);
  menu.addAction(tr("&Close"), this, &QWidget::close);
  menu.addSeparator();
  if (CanResume()) {
    menu.addAction(QStringLiteral("Resume last session (%1 spins)").arg(resumable_->spins), this,
                   &CMainDialog::ResumeLastSession);
  }
  menu.addAction(QString::fromLatin1(kStatisticsMenuText), sessionWatch_.get(),
                 &SessionWatch::ShowStatisticsWindow);
  menu.addAction(QString::fromLatin1(kAboutMenuText), this, &CMainDialog::ShowAboutBox);
  menu.exec(globalPosition);
}

void CMainDialog::ShowAboutBox() {
  CAboutDialog about(this);
  about.exec();
}

}  // namespace wheelwatcher
