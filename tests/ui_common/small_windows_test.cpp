#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ui/common/info_window.h"
#include "ui/common/progress_window.h"
#include "ui/common/unlock_window.h"
#include "ui_test_support.h"

namespace {

TEST(ProgressWindow, IsReusedAndShowsPositionOfCount) {
  uitest::application();
  ui::showProgress(nullptr, QStringLiteral("주소록 동기화"), 3, 12);
  ui::TFrmProgress* window = ui::progressWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->size(), QSize(227, 87));
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(window->LblText->text(), QStringLiteral("주소록 동기화(3/12)"));
  EXPECT_EQ(window->PrgBar->value(), 25);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  uitest::saveScreenshot(window, "progress_window");

  ui::showProgress(nullptr, QStringLiteral("주소록 동기화"), 2, 3);  // 66.7 % rounds up
  EXPECT_EQ(ui::progressWindow(), window);
  EXPECT_EQ(window->PrgBar->value(), 67);
  ui::showProgress(nullptr, QStringLiteral("준비 중"), 5, 0);  // no count: text alone, bar kept
  EXPECT_EQ(window->LblText->text(), QStringLiteral("준비 중"));
  EXPECT_EQ(window->PrgBar->value(), 67);

  ui::closeProgress();
  EXPECT_EQ(ui::progressWindow(), nullptr);
  ui::closeProgress();  // twice is harmless
}

TEST(ProgressWindow, ClickClosesIt) {
  uitest::application();
  ui::showProgress(nullptr, QStringLiteral("불러오는 중"), 1, 2);
  QPointer<ui::TFrmProgress> window = ui::progressWindow();
  ASSERT_TRUE(window);
  QTest::mouseClick(window, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window; }, 2000));
  EXPECT_EQ(ui::progressWindow(), nullptr);
}

TEST(InfoWindow, ShowsTheMailPictureAndClosesOnAnyKey) {
  uitest::application();
  QPointer<ui::TFrmInfo> window = new ui::TFrmInfo;
  EXPECT_EQ(window->windowTitle(), QStringLiteral("지메일 설정"));
  EXPECT_EQ(window->size(), QSize(999, 279));
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(window->ImgWarning->geometry(), QRect(2, 30, 995, 247));
  EXPECT_FALSE(window->ImgWarning->pixmap().isNull());
  EXPECT_TRUE(ui::accountSecurityPage().startsWith("https://"));
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  uitest::saveScreenshot(window, "gmail_help_window");
  QTest::keyClick(window, Qt::Key_A);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window; }, 2000));  // deleted on close
}

TEST(UnlockWindow, GivesTheTypedPasswordOrNothing) {
  uitest::application();
  {
    ui::TFrmUnlock dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("잠금 해제"));
    EXPECT_EQ(dialog.size(), QSize(300, 167));
    EXPECT_EQ(dialog.EdPassword->echoMode(), QLineEdit::Password);
    uitest::whenModal<ui::TFrmUnlock>([](ui::TFrmUnlock* d) {
      uitest::typeText(d->EdPassword, QStringLiteral("비밀123"));
      uitest::saveScreenshot(d, "unlock_window");
      QTest::keyClick(d->EdPassword, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.execModal(), std::optional<QString>(QStringLiteral("비밀123")));
  }
  {
    ui::TFrmUnlock dialog;
    uitest::whenModal<ui::TFrmUnlock>([](ui::TFrmUnlock* d) {
      uitest::typeText(d->EdPassword, QStringLiteral("abc"));
      QTest::keyClick(d->EdPassword, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.execModal(), std::nullopt);
  }
  ui::TFrmUnlock dialog;
  uitest::whenModal<ui::TFrmUnlock>([](ui::TFrmUnlock* d) { d->BtnCancel->click(); });
  EXPECT_EQ(dialog.execModal(), std::nullopt);
}

}  // namespace
