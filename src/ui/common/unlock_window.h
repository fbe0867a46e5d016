// The unlock dialog "잠금 해제": asks for the Google password before the
// main window leaves lock mode.
#pragma once

#include <optional>

#include "ui/common/skinned_window.h"

class QLineEdit;
class QPushButton;

namespace ui {

class TFrmUnlock : public SkinnedWindow {
  Q_OBJECT
 public:
  explicit TFrmUnlock(QWidget* parent = nullptr);

  // Shows the dialog modally (centred over the parent); the typed password,
  // or nothing when the dialog was cancelled.
  std::optional<QString> execModal();

  QLineEdit* EdPassword = nullptr;
  QPushButton* BtnOk = nullptr;
  QPushButton* BtnCancel = nullptr;

 protected:
  void repaintBackground() override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void BtnOkClick();

  QPixmap skin_;
  bool accepted_ = false;
};

}  // namespace ui
