// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace wheelwatcher {

// The About box: the About picture and nothing else; Enter, Escape and the close button end it.
class CAboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDialog(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace wheelwatcher
