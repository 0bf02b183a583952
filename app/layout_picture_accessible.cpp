// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout_picture_accessible.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <array>
#include <map>

#include "app/layout_picture.h"
#include "engine/control_ids.h"
#include "engine/history_column.h"
#include "engine/region_code.h"

namespace wheelwatcher {

namespace {

constexpr int kHighestNumber = 36;

// The buttons with an action, in the order a player would look for them.
constexpr std::array kButtons = {region::kHelp,   region::kSystem,   region::kStake,
                                 region::kRewind, region::kClearAll, region::kLiveWheel};

QWidget* SaveFace(const CLayoutPicture* picture) {
  const QWidget* window = picture ? picture->parentWidget() : nullptr;
  return window ? window->findChild<QWidget*>(QString::number(control::kSavePicture),
                                              Qt::FindDirectChildrenOnly)
                : nullptr;
}

QString NumberName(int number) {
  switch (HistoryColumnOf(number)) {
    case HistoryColumn::kRed:
      return QStringLiteral("%1 red").arg(number);
    case HistoryColumn::kBlack:
      return QStringLiteral("%1 black").arg(number);
    case HistoryColumn::kZero:
      break;
  }
  return QStringLiteral("%1 green").arg(number);
}

struct ButtonWords {
  const char* name;
  // What a sighted player learns from the layout and a first try; HELP and LIVE WHEEL in
  // particular leave the window for the browser.
  const char* description;
};

ButtonWords WordsFor(int regionCode, bool playStarted) {
  switch (regionCode) {
    case region::kLiveWheel:
      return {"LIVE WHEEL", "Opens three live-wheel casino pages in your browser"};
    case region::kHelp:
      return {"HELP", "Opens the user guide in your browser"};
    case region::kSystem:
      return playStarted ? ButtonWords{"SAVE", "Saves the spin history to a text file"}
                         : ButtonWords{"SYSTEM",
                                       "Shows the betting system; pressed again within two "
                                       "seconds, moves on to the next"};
    case region::kStake:
      return {"STAKE",
              "Shows the base stake; pressed again within two seconds, raises it by one (after 10, "
              "back to 1). Fixed once play has started"};
    case region::kRewind:
      return {"REWIND", "Takes back the last spin"};
    case region::kClearAll:
      return {"CLEAR ALL", "Clears every spin and starts afresh"};
    default:
      return {"", ""};
  }
}

// Tells assistive technology when the SAVE face comes and goes: SYSTEM is then called SAVE and
// STAKE stops doing anything. Lives as long as the picture.
class SaveFaceWatcher : public QObject {
 public:
  SaveFaceWatcher(QWidget* saveFace, QObject* parent, QAccessible::Id system, QAccessible::Id stake)
      : QObject(parent), system_(system), stake_(stake) {
    saveFace->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool shownOrHidden =
        event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent;
    if (shownOrHidden) {
      if (QAccessibleInterface* system = QAccessible::accessibleInterface(system_)) {
        QAccessibleEvent renamed(system, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
      }
      if (QAccessibleInterface* stake = QAccessible::accessibleInterface(stake_)) {
        QAccessible::State changed;
        changed.disabled = true;
        QAccessibleStateChangeEvent enabling(stake, changed);
        QAccessible::updateAccessibility(&enabling);
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QAccessible::Id system_;
  QAccessible::Id stake_;
};

}  // namespace

QString RegionName(int regionCode, bool playStarted) {
  return regionCode <= kHighestNumber ? NumberName(regionCode)
                                      : QString::fromLatin1(WordsFor(regionCode, playStarted).name);
}

LayoutPictureAccessible::LayoutPictureAccessible(CLayoutPicture* picture)
    : QAccessibleWidget(picture, QAccessible::Grouping, QStringLiteral("Layout")) {}

// The children are made on the first question about them, not when the window opens: finding
// their areas reads the whole hit map, which the first picture does without.
const std::vector<QAccessible::Id>& LayoutPictureAccessible::RegionIds() const {
  if (!regionIds_.empty()) return regionIds_;
  auto* picture = static_cast<CLayoutPicture*>(widget());
  const std::map<int, QRect>& areas = picture->RegionRects();
  std::map<int, QAccessible::Id> idsByCode;
  const auto add = [&](int code) {
    const auto area = areas.find(code);
    if (area == areas.end()) return;
    const QAccessible::Id id =
        QAccessible::registerAccessibleInterface(new RegionAccessible(picture, code, area->second));
    regionIds_.push_back(id);
    idsByCode[code] = id;
  };
  for (int number = 0; number <= kHighestNumber; ++number) add(number);
  for (const int button : kButtons) add(button);
  if (QWidget* saveFace = SaveFace(picture)) {
    new SaveFaceWatcher(saveFace, picture, idsByCode[region::kSystem], idsByCode[region::kStake]);
  }
  return regionIds_;
}

LayoutPictureAccessible::~LayoutPictureAccessible() {
  for (const QAccessible::Id id : regionIds_) QAccessible::deleteAccessibleInterface(id);
}

int LayoutPictureAccessible::childCount() const { return static_cast<int>(RegionIds().size()); }

QAccessibleInterface* LayoutPictureAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  return QAccessible::accessibleInterface(RegionIds()[static_cast<std::size_t>(index)]);
}

int LayoutPictureAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const std::vector<QAccessible::Id>& ids = RegionIds();
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (QAccessible::accessibleInterface(ids[i]) == child) return static_cast<int>(i);
  }
  return -1;
}

QAccessibleInterface* LayoutPictureAccessible::childAt(int x, int y) const {
  for (int i = 0; i < childCount(); ++i) {
    QAccessibleInterface* region = child(i);
    if (region->rect().contains(x, y)) return region;
  }
  return nullptr;
}

RegionAccessible::RegionAccessible(CLayoutPicture* picture, int regionCode, QRect area)
    : picture_(picture), regionCode_(regionCode), area_(area) {}

bool RegionAccessible::isValid() const { return picture_; }

QObject* RegionAccessible::object() const { return nullptr; }

QWindow* RegionAccessible::window() const {
  return picture_ ? picture_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* RegionAccessible::parent() const {
  return QAccessible::queryAccessibleInterface(picture_);
}

QAccessibleInterface* RegionAccessible::child(int /*index*/) const { return nullptr; }

int RegionAccessible::childCount() const { return 0; }

int RegionAccessible::indexOfChild(const QAccessibleInterface* /*child*/) const { return -1; }

QAccessibleInterface* RegionAccessible::childAt(int /*x*/, int /*y*/) const { return nullptr; }

bool RegionAccessible::PlayStarted() const {
  const QWidget* saveFace = SaveFace(picture_);
  return saveFace && !saveFace->isHidden();
}

QString RegionAccessible::text(QAccessible::Text type) const {
  switch (type) {
    case QAccessible::Name:
      return RegionName(regionCode_, PlayStarted());
    case QAccessible::Description:
      return regionCode_ <= kHighestNumber
                 ? QString()
                 : QString::fromLatin1(WordsFor(regionCode_, PlayStarted()).description);
    default:
      return {};
  }
}

void RegionAccessible::setText(QAccessible::Text /*type*/, const QString& /*text*/) {}

QRect RegionAccessible::rect() const {
  if (!picture_) return {};
  return QRect(picture_->mapToGlobal(area_.topLeft()), area_.size());
}

QAccessible::Role RegionAccessible::role() const { return QAccessible::Button; }

QAccessible::State RegionAccessible::state() const {
  QAccessible::State state;
  if (!picture_ || !picture_->isVisible()) state.invisible = true;
  if (regionCode_ == region::kStake && PlayStarted()) state.disabled = true;
  return state;
}

void* RegionAccessible::interface_cast(QAccessible::InterfaceType type) {
  return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                              : nullptr;
}

QStringList RegionAccessible::actionNames() const { return {pressAction()}; }

void RegionAccessible::doAction(const QString& actionName) {
  if (actionName != pressAction() || !picture_) return;
  // Queued, as a real click arrives: a press that opens the save dialog must not hold the
  // assistive technology's call until that dialog closes.
  QMetaObject::invokeMethod(
      picture_.data(),
      [picture = picture_.data(), code = regionCode_] { picture->PressRegion(code); },
      Qt::QueuedConnection);
}

QStringList RegionAccessible::keyBindingsForAction(const QString& /*actionName*/) const {
  return {};
}

}  // namespace wheelwatcher
