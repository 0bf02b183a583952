// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace wheelwatcher {

class CLayoutPicture;

// What a number or button of the layout is called: "17 black", "0 green", "REWIND"; SYSTEM is SAVE
// once play has started.
QString RegionName(int regionCode, bool playStarted);

// The layout picture to assistive technology: a group whose children are the areas a click acts
// on, the 37 numbers and the buttons, each a button at its place on the screen.
class LayoutPictureAccessible : public QAccessibleWidget {
 public:
  explicit LayoutPictureAccessible(CLayoutPicture* picture);
  ~LayoutPictureAccessible() override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

 private:
  const std::vector<QAccessible::Id>& RegionIds() const;

  mutable std::vector<QAccessible::Id> regionIds_;
};

// One number or button of the layout. Its press action takes the road of a click on its area,
// click sound included.
class RegionAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  RegionAccessible(CLayoutPicture* picture, int regionCode, QRect area);

  bool isValid() const override;
  QObject* object() const override;
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QString text(QAccessible::Text type) const override;
  void setText(QAccessible::Text type, const QString& text) override;
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;
  QStringList keyBindingsForAction(const QString& actionName) const override;

  int RegionCode() const { return regionCode_; }

 private:
  // While play has started the SAVE face lies over SYSTEM and STAKE does nothing.
  bool PlayStarted() const;

  QPointer<CLayoutPicture> picture_;
  int regionCode_;
  QRect area_;
};

}  // namespace wheelwatcher
