// The id dialog "구글 아이디 추가" (drawn "구글 아이디 수정" when editing): a
// Google address and its password.  OK is enabled while both are filled.
#pragma once

#include "ui/common/skinned_window.h"

class QLineEdit;
class QPushButton;

namespace ui {

class TFrmIdInput : public SkinnedWindow {
  Q_OBJECT
 public:
  explicit TFrmIdInput(QWidget* parent = nullptr);

  // Empty for a new account; filled for editing.
  void setAccount(const QString& address, const QString& password);
  // Shows the dialog modally; true when confirmed with an address.
  bool execModal();
  // The address with the mail domain appended when missing.
  QString address() const;
  QString password() const;

  QLineEdit* EdId = nullptr;
  QLineEdit* EdPw = nullptr;
  QPushButton* BtnOk = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void updateOk();
  void BtnOkClick();

  bool confirmed_ = false;
};

}  // namespace ui
