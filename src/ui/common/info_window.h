// The Gmail settings help "지메일 설정": a picture that explains how to let
// the program sign in to Gmail, shown while the account security page opens.
#pragma once

#include "ui/common/skinned_window.h"

class QLabel;

namespace ui {

class TFrmInfo : public SkinnedWindow {
  Q_OBJECT
 public:
  explicit TFrmInfo(QWidget* parent = nullptr);

  QLabel* ImgWarning = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;  // any key closes
};

// The address of Google's account security page ("로그인 및 보안").
QString accountSecurityPage();
// Shows the help window and opens the security page in the browser.
void showGmailHelp();

}  // namespace ui
