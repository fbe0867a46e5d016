// The settings window.  At the first start it asks for the Google account
// (id and password) before the main window is created.
#pragma once

#include "ui/common/skinned_window.h"

class QLineEdit;
class QPushButton;
class QLabel;

namespace ui {

class TFrmEnv : public SkinnedWindow {
  Q_OBJECT
 public:
  // `googleId`, `password`: the stored values shown in the boxes.
  TFrmEnv(const QString& googleId, const QString& password, QWidget* parent = nullptr);

  QString googleId() const;
  QString password() const;
  // Shows the window modally (centred); true when confirmed with both boxes filled.
  bool execModal();

  QLineEdit* EdGoogle = nullptr;
  QLineEdit* EdGooglePw = nullptr;
  QPushButton* BtnOk = nullptr;

 protected:
  void closeButtonClicked() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BtnOkClick();

  QLabel* LblMessage = nullptr;
  bool confirmed_ = false;
};

}  // namespace ui
