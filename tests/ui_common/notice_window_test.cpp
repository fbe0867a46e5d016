#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/settings.h"
#include "ui/common/notice_window.h"
#include "ui_test_support.h"

namespace {

QStringList lines(int count) {
  QStringList result{QStringLiteral("이번 주 일정입니다")};
  for (int i = 1; i < count; ++i) result << QStringLiteral("[ 오후 %1:00 ] 회의").arg(i);
  return result;
}

TEST(NoticeWindow, GrowsTwentyPixelsPerLineAndWithItsWidestLine) {
  uitest::application();
  ui::TFrmHi one(lines(1));
  ui::TFrmHi six(lines(6));
  EXPECT_EQ(one.windowTitle(), QStringLiteral("데이북 알림"));
  EXPECT_EQ(one.size(), QSize(250, 168));
  EXPECT_EQ(six.height() - one.height(), 100);
  EXPECT_TRUE(six.windowFlags() & Qt::WindowStaysOnTopHint);

  // Line i sits 20 pixels below line i - 1; "[" lines are centred, others start at 15.
  ui::TFrmHi mixed({QStringLiteral("오늘의 일정"), QStringLiteral("[ 오전 09:00 ]"), QStringLiteral("주간 회의")});
  ASSERT_EQ(mixed.LblLines.size(), 2);
  EXPECT_EQ(mixed.LblLines[0]->y(), mixed.LblMain->y() + 20);
  EXPECT_EQ(mixed.LblLines[1]->y(), mixed.LblMain->y() + 40);
  EXPECT_TRUE(mixed.LblLines[0]->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(mixed.LblLines[1]->x(), 15);
  EXPECT_GT(mixed.BtnOk->y(), mixed.LblLines[1]->geometry().bottom());

  const QString longLine = QStringLiteral("아주 긴 알림 문장이 들어가서 창이 넓어져야 하는 경우입니다");
  ui::TFrmHi wide({longLine});
  const int labelWidth = QFontMetrics(wide.LblMain->font()).horizontalAdvance(longLine);
  EXPECT_GT(wide.width(), 250);
  EXPECT_GE(wide.width(), labelWidth + 50);
  EXPECT_LE(wide.width(), labelWidth + 70);

  six.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&six));
  QTest::qWait(300);
  uitest::saveScreenshot(&six, "notice_window");
}

TEST(NoticeWindow, SlidesInFromAbove) {
  uitest::application();
  ui::TFrmHi notice(lines(1));
  notice.move(300, 400);
  notice.show();
  EXPECT_LT(notice.y(), 400);
  EXPECT_TRUE(QTest::qWaitFor([&] { return notice.pos() == QPoint(300, 400); }, 2000)) << notice.y();
}

TEST(NoticeWindow, HandlesEnterAndEscapeOnlyWhileFocused) {
  uitest::application();
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    ui::TFrmHi notice(lines(2));
    notice.setSlot(7);
    QSignalSpy closedSpy(&notice, &ui::TFrmHi::noticeClosed);
    notice.show();
    QLineEdit other;
    other.show();
    other.activateWindow();
    other.setFocus();
    // Keys typed into another window are that window's keys.
    QTest::keyClick(&other, Qt::Key_Return);
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_EQ(closedSpy.count(), 0);
    EXPECT_TRUE(notice.isVisible());

    QTest::keyClick(notice.BtnOk, key);
    ASSERT_EQ(closedSpy.count(), 1) << key;
    EXPECT_EQ(closedSpy.at(0).at(0).toInt(), 7);
    EXPECT_FALSE(notice.isVisible());
    // A second press on the closing window reports nothing more.
    QTest::keyClick(&notice, key);
    EXPECT_EQ(closedSpy.count(), 1);
  }
}

TEST(NoticeWindow, TimerClosesLikeTheUserAndMarksTheWhatsNewNotice) {
  uitest::application();
  struct Case {
    bool noAccount;
    const char* text;
    int mark;
  } cases[] = {
      {true, "유튜브 저장 기능이 추가되었습니다", ui::TFrmHi::kMarkWhatsNew},
      {false, "유튜브 저장 기능이 추가되었습니다", 0},
      {true, "오늘 일정이 없습니다", 0},
  };
  for (const Case& c : cases) {
    app::settings().noAccountStored = c.noAccount;
    ui::TFrmHi notice({QString::fromUtf8(c.text)});
    EXPECT_EQ(notice.TmrClose->interval(), 60'000);
    notice.setSlot(3);
    QSignalSpy closedSpy(&notice, &ui::TFrmHi::noticeClosed);
    notice.TmrClose->setInterval(20);
    notice.show();
    ASSERT_TRUE(closedSpy.wait(2000)) << c.text;
    EXPECT_EQ(closedSpy.at(0).at(0).toInt(), 3);
    EXPECT_EQ(notice.mark(), c.mark) << c.text << " " << c.noAccount;
  }
  app::settings().noAccountStored = false;
}

TEST(NoticeWindow, WithoutSlotOwnerItClosesItself) {
  uitest::application();
  ui::TFrmHi notice(lines(1));
  QSignalSpy closedSpy(&notice, &ui::SkinnedWindow::closed);
  notice.show();
  notice.BtnOk->click();
  EXPECT_EQ(closedSpy.count(), 1);
  EXPECT_FALSE(notice.isVisible());
}

}  // namespace
