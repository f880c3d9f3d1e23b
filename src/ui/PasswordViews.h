#pragma once

#include <QDialog>
#include <array>

#include "shell/PasswordWindows.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace pg::ui {

// The password-entry window's widgets (object name "frmGetPassword"). Every key that goes down or
// up in the box, and every activation of the window, has the model look at Caps Lock again.
class PasswordEntryView : public QDialog {
 public:
  explicit PasswordEntryView(PasswordEntry& model, QWidget* parent = nullptr);
  void Refresh();
  // Escape and the title bar's close button.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Finish();

  PasswordEntry& model_;
  QLabel* lblMess_;
  QLabel* lblPass_;
  QLineEdit* txtPass_;
  QLabel* lblCaps_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
};

// The new-password window's widgets (object name "frmPassword").
class NewPasswordView : public QDialog {
 public:
  explicit NewPasswordView(NewPassword& model, QWidget* parent = nullptr);
  void Refresh();
  void reject() override;

 private:
  void Finish();

  NewPassword& model_;
  QLabel* lblMess_;
  std::array<QLabel*, 2> lblPass_;
  std::array<QLineEdit*, 2> txtPass_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
};

}  // namespace pg::ui
