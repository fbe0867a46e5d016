#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/settings.h"
#include "ui/common/unlock_window.h"
#include "ui/main/main_window.h"
#include "ui_test_support.h"

namespace {

// Answers the unlock dialog with `password` (nullptr: cancel) and records
// the text of the message shown afterwards, if any.
void answerUnlock(const char* password, QString* message) {
  uitest::whenModal<ui::TFrmUnlock>([password, message](ui::TFrmUnlock* dialog) {
    if (!password) return dialog->BtnCancel->click();
    dialog->EdPassword->setText(QString::fromUtf8(password));
    uitest::whenModal<QMessageBox>([message](QMessageBox* box) {
      *message = box->windowTitle() + "|" + box->text();
      box->buttons().first()->click();
    });
    QTest::keyClick(dialog->EdPassword, Qt::Key_Return);
  });
}

class LockMode : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::application();
    app::settings().googlePw = "secret";
    window_ = std::make_unique<ui::TFrmMain>();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QSignalSpy started(window_.get(), &ui::TFrmMain::lockVideoStartRequested);
    window_->ChkLock->click();
    ASSERT_TRUE(window_->isLocked());
    EXPECT_EQ(started.count(), 1);
  }
  void TearDown() override { app::settings().googlePw.clear(); }

  std::unique_ptr<ui::TFrmMain> window_;
};

TEST_F(LockMode, TurnsTheWindowIntoAMaximisedPlayer) {
  ui::TFrmMain& w = *window_;
  for (QWidget* hidden : std::initializer_list<QWidget*>{w.PnlMain, w.BtnToday, w.BtnDiary, w.EdSearch, w.BtnSms,
                                                         w.BtnLogin, w.BtnYoutube, w.BtnItemAdd, w.BtnEnv})
    EXPECT_TRUE(hidden->isHidden()) << hidden->metaObject()->className();
  for (QWidget* shown : std::initializer_list<QWidget*>{w.PnlVideo, w.CbVideo, w.ChkContinue, w.BtnYoutubeTop})
    EXPECT_FALSE(shown->isHidden());
  EXPECT_TRUE(w.isMaximized());
  EXPECT_FALSE(w.maximiseButton()->isEnabled());
  EXPECT_EQ(w.maximiseButton()->toolTip(), QStringLiteral("원래 화면크기로"));
  // The lock box sits next to the video list.
  EXPECT_EQ(w.ChkLock->y(), w.CbVideo->y());
  EXPECT_LT(w.ChkLock->geometry().right(), w.CbVideo->x());
  EXPECT_GT(w.ChkLock->geometry().right(), w.CbVideo->x() - 20);
  uitest::saveScreenshot(&w, "main_window_locked");
}

TEST_F(LockMode, WrongOrEmptyPasswordKeepsTheLock) {
  for (const char* wrong : {"Secret", ""}) {
    QString message;
    answerUnlock(wrong, &message);
    window_->ChkLock->click();
    EXPECT_EQ(message, QStringLiteral("하루빛|비밀번호가 틀렸습니다.")) << wrong;
    EXPECT_TRUE(window_->isLocked());
    EXPECT_TRUE(window_->ChkLock->isChecked());
    EXPECT_TRUE(window_->PnlMain->isHidden());
  }
}

TEST_F(LockMode, CancelKeepsTheLockQuietly) {
  QString message;
  answerUnlock(nullptr, &message);
  window_->ChkLock->click();
  EXPECT_TRUE(message.isEmpty());
  EXPECT_TRUE(window_->isLocked());
  EXPECT_TRUE(window_->ChkLock->isChecked());
}

TEST_F(LockMode, RightPasswordRestoresTheCalendar) {
  QSignalSpy stopped(window_.get(), &ui::TFrmMain::playerStopRequested);
  QString message;
  answerUnlock("secret", &message);
  window_->ChkLock->click();
  EXPECT_TRUE(message.isEmpty());
  ui::TFrmMain& w = *window_;
  EXPECT_FALSE(w.isLocked());
  EXPECT_FALSE(w.ChkLock->isChecked());
  EXPECT_EQ(stopped.count(), 1);
  EXPECT_FALSE(w.PnlMain->isHidden());
  EXPECT_FALSE(w.BtnToday->isHidden());
  EXPECT_TRUE(w.PnlVideo->isHidden());
  EXPECT_TRUE(w.CbVideo->isHidden());
  EXPECT_TRUE(w.LstSuggest->isHidden());  // was hidden before the lock and stays so
  EXPECT_FALSE(w.isMaximized());
  EXPECT_TRUE(w.maximiseButton()->isEnabled());
  EXPECT_EQ(w.size(), QSize(940, 625));
  EXPECT_GT(w.ChkLock->x(), w.BtnYoutube->geometry().right());  // back in the lower row
}

}  // namespace
