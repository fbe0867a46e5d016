// The notice window "데이북 알림": reminders and briefings (closing on their
// own after a minute) and, in message mode, the modal message of showMessage.
#pragma once

#include <QStringList>

#include "ui/common/skinned_window.h"

class QLabel;
class QPushButton;
class QTimer;

namespace ui {

class TFrmHi : public SkinnedWindow {
  Q_OBJECT
 public:
  enum class Mode {
    Notice,   // shown by the reminders: closes itself after 60 s, reports its slot
    Message,  // modal message: no timer, no label shadow
  };
  static constexpr int kMarkWhatsNew = 99;
  static constexpr int kCloseAfterMs = 60'000;

  explicit TFrmHi(const QStringList& lines, Mode mode = Mode::Notice, QWidget* owner = nullptr);

  Mode mode() const { return mode_; }
  const QStringList& lines() const { return lines_; }
  int slot() const { return slot_; }
  void setSlot(int slot) { slot_ = slot; }
  // kMarkWhatsNew when this notice announced what is new to a user without
  // an account, else 0.
  int mark() const { return mark_; }
  // Shows the window modally, centred over its owner, until it is closed.
  void execModal();

  QLabel* ImgCheer = nullptr;
  QLabel* LblMain = nullptr;
  QList<QLabel*> LblLines;
  QPushButton* BtnOk = nullptr;
  QTimer* TmrClose = nullptr;

 signals:
  // A notice was closed by the user or its timer; the owner of the slot
  // frees the window.
  void noticeClosed(int slot);
  // A message window was closed: any sound that came with it stops.
  void mediaStopRequested();

 protected:
  void closeButtonClicked() override { finish(); }
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void createContent();
  void placeContent();
  void slideIn();
  void finish();

  QStringList lines_;
  Mode mode_;
  QWidget* owner_;
  int slot_ = -1;
  int mark_ = 0;
  bool finished_ = false;
  bool slid_ = false;
};

}  // namespace ui
