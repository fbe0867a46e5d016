#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QTableWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/settings.h"
#include "ui/common/skin.h"
#include "ui/main/main_window.h"

namespace {

QString screenshotFolder() {
  QString folder = qEnvironmentVariable("DAYBOOK_SCREENSHOTS", QStringLiteral(DAYBOOK_BINARY_DIR "/screenshots"));
  QDir().mkpath(folder);
  return folder;
}

QApplication& application() {
  static int argc = 1;
  static char name[] = "ui_main_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace

TEST(MainWindow, ShellHasTitleSizeAndButtons) {
  application();
  ui::TFrmMain window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("하루빛"));
  EXPECT_EQ(window.size(), QSize(1008, 625));
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);

  struct Expected {
    QAbstractButton* button;
    const char* text;
    QRect geometry;
  } buttons[] = {
      {window.BtnListDel, "삭제", {90, 37, 55, 25}},      {window.BtnToday, "오늘", {217, 37, 55, 25}},
      {window.BtnDiary, "일기장", {274, 37, 66, 25}},     {window.BtnAddress, "주소록", {342, 37, 66, 25}},
      {window.BtnMail, "메일", {410, 37, 55, 25}},        {window.BtnItemEdit, "수정", {829, 37, 55, 25}},
      {window.BtnItemDel, "삭제", {886, 37, 55, 25}},     {window.BtnSms, "문자", {943, 37, 55, 25}},
      {window.BtnSimple, "간편 보기", {10, 581, 85, 25}}, {window.BtnExit, "종료(&X)", {467, 581, 74, 25}},
      {window.BtnLogin, "로그인", {797, 581, 66, 25}},    {window.BtnYoutube, "유튜브관리", {865, 581, 85, 25}},
  };
  for (const Expected& e : buttons) {
    EXPECT_EQ(e.button->text(), QString::fromUtf8(e.text));
    EXPECT_EQ(e.button->geometry(), e.geometry) << e.text;
  }
  EXPECT_EQ(window.BtnListAdd->text(), QStringLiteral(" 추가"));
  EXPECT_EQ(window.BtnEnv->toolTip(), QStringLiteral("환경설정"));
  EXPECT_EQ(window.BtnFind->toolTip(), QStringLiteral("일정 찾기"));
  EXPECT_EQ(window.BtnSimple->toolTip(), QStringLiteral("간단화면으로"));
  EXPECT_EQ(window.ChkLock->text(), QStringLiteral("잠금"));
  EXPECT_EQ(window.CbYear->count(), 4);
  EXPECT_EQ(window.closeButton()->toolTip(), QStringLiteral("종료"));
  EXPECT_EQ(window.closeButton()->pos(), QPoint(1008 - 21, 10));
  EXPECT_FALSE(window.LstSuggest->isVisible());
  EXPECT_FALSE(window.PnlVideo->isVisible());

  // The caption bar and the client area carry the skin colours.
  const QImage shot = window.grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(500, 2)), ui::kMainBarColour);
  EXPECT_EQ(QColor(shot.pixel(1, 300)), ui::kMainBarColour);
  EXPECT_EQ(QColor(shot.pixel(5, 620)), ui::kMainClientColour);
  EXPECT_TRUE(shot.save(screenshotFolder() + "/main_window.png"));
}

TEST(MainWindow, ResizingScalesTheLayoutAndKeepsCaptionButtonsRight) {
  application();
  ui::TFrmMain window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.resize(2016, 1250);
  QApplication::processEvents();
  EXPECT_EQ(window.BtnSms->geometry(), QRect(1886, 74, 110, 50));
  EXPECT_EQ(window.HygPlan->parentWidget()->geometry(), QRect(18, 134, 1978, 1018));
  EXPECT_EQ(window.closeButton()->pos(), QPoint(2016 - 21, 10));
  EXPECT_EQ(window.BtnExit->x() + window.BtnExit->width() / 2, 2016 / 2);
  window.resize(1008, 625);
  QApplication::processEvents();
  EXPECT_EQ(window.BtnSms->geometry(), QRect(943, 37, 55, 25));
}

TEST(MainWindow, CloseHidesInsteadOfExiting) {
  application();
  ui::TFrmMain window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.close();
  QApplication::processEvents();
  // Without a tray the window is minimised; with one it is hidden.  Either way
  // the program is still running and the window object is intact.
  EXPECT_TRUE(!window.isVisible() || window.isMinimized());
  window.restoreFromTray();
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isMinimized());
}
