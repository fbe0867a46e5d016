#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "ui/common/message.h"
#include "ui/common/notice_window.h"
#include "ui_test_support.h"

namespace {

QWidget* ownerWindow() {
  static QWidget* owner = [] {
    auto* w = new QWidget;
    w->setWindowTitle(QStringLiteral("주소록"));
    w->resize(400, 300);
    w->show();
    return w;
  }();
  return owner;
}

QAbstractButton* buttonNamed(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons())
    if (b->text() == text) return b;
  return nullptr;
}

TEST(ShowMessage, IsAModalNoticeWithoutShadowClosedByItsKeys) {
  uitest::application();
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    bool seen = false;
    uitest::whenModal<ui::TFrmHi>([&seen, key](ui::TFrmHi* notice) {
      seen = true;
      EXPECT_EQ(notice->mode(), ui::TFrmHi::Mode::Message);
      EXPECT_EQ(notice->windowTitle(), QStringLiteral("데이북 알림"));
      EXPECT_EQ(notice->LblMain->text(), QStringLiteral("저장하였습니다."));
      EXPECT_FALSE(notice->TmrClose->isActive());
      if (key == Qt::Key_Return) uitest::saveScreenshot(notice, "message_notice");
      QTest::keyClick(notice->BtnOk, key);
    });
    ui::showMessage(ownerWindow(), QStringLiteral("저장하였습니다."));
    EXPECT_TRUE(seen);
  }
}

TEST(ShowMessage, LongTextWidensTheWindow) {
  uitest::application();
  const QString text = QStringLiteral("주소를 찾지 못했습니다. 시, 구, 동을 띄어 쓴 주소로 다시 입력하세요.");
  int width = 0, labelWidth = 0;
  uitest::whenModal<ui::TFrmHi>([&](ui::TFrmHi* notice) {
    width = notice->width();
    labelWidth = QFontMetrics(notice->LblMain->font()).horizontalAdvance(text);
    notice->BtnOk->click();
  });
  ui::showMessage(nullptr, text);
  EXPECT_GE(width, labelWidth + 68);
  EXPECT_LE(width, labelWidth + 80);
}

TEST(ShowWarning, CarriesTheOwnersCaptionAndAnExclamation) {
  uitest::application();
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  uitest::whenModal<QMessageBox>([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    uitest::saveScreenshot(box, "warning_message");
    QTest::keyClick(box, Qt::Key_Escape);
  });
  ui::showWarning(ownerWindow(), QStringLiteral("이름을 입력하세요."));
  EXPECT_EQ(title, QStringLiteral("주소록"));
  EXPECT_EQ(text, QStringLiteral("이름을 입력하세요."));
  EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(AskConfirm, OnlyYesProceeds) {
  uitest::application();
  struct Case {
    const char* button;  // nullptr: Escape
    bool proceeds;
  } cases[] = {{"예(&Y)", true}, {"아니요(&N)", false}, {"취소", false}, {nullptr, false}};
  for (const Case& c : cases) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    uitest::whenModal<QMessageBox>([&](QMessageBox* box) {
      icon = box->icon();
      title = box->windowTitle();
      if (!c.button) return QTest::keyClick(box, Qt::Key_Escape);
      QAbstractButton* b = buttonNamed(box, QString::fromUtf8(c.button));
      ASSERT_NE(b, nullptr) << c.button;
      b->click();
    });
    EXPECT_EQ(ui::askConfirm(nullptr, QStringLiteral("삭제하시겠습니까?")), c.proceeds)
        << (c.button ? c.button : "Escape");
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(title, QStringLiteral("데이북"));
  }
}

}  // namespace
