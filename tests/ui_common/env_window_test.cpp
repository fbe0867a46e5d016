#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/settings.h"
#include "base/ini.h"
#include "base/secret.h"
#include "platform/autostart.h"
#include "ui/common/env_window.h"
#include "ui/common/notice_window.h"
#include "ui_test_support.h"

namespace {

class SettingsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::application();
    ASSERT_TRUE(dir_.isValid());
    qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toUtf8());
    settings_.settingsFile = dir_.filePath("daybook.ini").toStdString();
  }
  void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

  // Fills the boxes, presses "확인(&O)" and returns whether the window closed.
  bool confirm(ui::TFrmEnv& window) {
    window.show();
    QTest::mouseClick(window.BtnOk, Qt::LeftButton);
    return !window.isVisible();
  }

  QTemporaryDir dir_;
  app::AppSettings settings_;
};

TEST_F(SettingsWindow, ShowsStoredValuesAndEnablesButtonsByContent) {
  settings_.googleId = "hong@gmail.com";
  settings_.googlePw = "secret";
  settings_.myAddress = "서울특별시 종로구 세종로";
  settings_.alarmEmail = false;
  settings_.alarmSound = true;
  settings_.autoExe = false;
  ui::TFrmEnv window(settings_);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  EXPECT_EQ(window.windowTitle(), QStringLiteral("환경설정"));
  EXPECT_EQ(window.size(), QSize(551, 271));
  EXPECT_EQ(window.EdGoogle->text(), QStringLiteral("hong@gmail.com"));
  EXPECT_EQ(window.EdGooglePw->echoMode(), QLineEdit::Password);
  EXPECT_EQ(window.EdAddress->text(), QStringLiteral("서울특별시 종로구 세종로"));
  EXPECT_FALSE(window.ChkAlarmEmail->isChecked());
  EXPECT_TRUE(window.ChkAlarmSound->isChecked());
  EXPECT_FALSE(window.ChkAutoExe->isChecked());
  EXPECT_EQ(window.ChkAutoExe->text(), QStringLiteral("컴퓨터를 시작할 때 자동실행"));

  // "약도" needs an address, "이메일 설정" the mail alarm.
  EXPECT_TRUE(window.BtnMap->isEnabled());
  EXPECT_FALSE(window.BtnMailSetting->isEnabled());
  uitest::saveScreenshot(&window, "settings_window");
  window.EdAddress->clear();
  EXPECT_FALSE(window.BtnMap->isEnabled());
  window.ChkAlarmEmail->click();
  EXPECT_TRUE(window.BtnMailSetting->isEnabled());

  // Enter in the id box moves on to the password box.
  window.activateWindow();
  window.EdGoogle->setFocus();
  QTest::keyClick(window.EdGoogle, Qt::Key_Return);
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.EdGooglePw->hasFocus());
}

TEST_F(SettingsWindow, ConfirmWritesEncodedKeysAndStartAtLogin) {
  ui::TFrmEnv window(settings_);
  window.EdGoogle->setText(QStringLiteral("hong"));
  window.EdGooglePw->setText(QStringLiteral("비밀 pw"));
  window.EdAddress->setText(QStringLiteral("부산광역시 해운대구 우동"));
  window.ChkAlarmEmail->setChecked(false);
  window.ChkAlarmSound->setChecked(true);
  window.ChkAutoExe->setChecked(true);
  ASSERT_TRUE(confirm(window));

  const base::IniFile ini(settings_.settingsFile);
  const std::string rawId = ini.readString("Login", "GoogleId");
  EXPECT_NE(rawId, "hong@gmail.com");  // stored encoded, not in plain text
  EXPECT_EQ(base::decodeSecret(rawId), "hong@gmail.com");
  EXPECT_EQ(base::decodeSecret(ini.readString("Login", "LoginId")), "hong@gmail.com");
  EXPECT_EQ(base::decodeSecret(ini.readString("Login", "GooglePw")), "비밀 pw");
  // The address keeps the stored position until a geocoder is installed.
  EXPECT_EQ(base::decodeSecret(ini.readString("Environment", "MyAddress")),
            "부산광역시 해운대구 우동|127.053904129352|37.526685139144|513068|1108038");
  EXPECT_EQ(ini.readString("Environment", "AlarmEmail"), "0");
  EXPECT_EQ(ini.readString("Environment", "AlarmSound"), "1");
  EXPECT_EQ(ini.readString("Environment", "AutoExe"), "1");
  EXPECT_EQ(QFile(QString::fromStdString(settings_.settingsFile)).permissions() &
                (QFile::ReadOther | QFile::ReadGroup),
            QFile::Permissions());

  // The next start reads back what the window wrote.
  app::AppSettings loaded;
  app::loadSettings(loaded, settings_.settingsFile);
  EXPECT_EQ(loaded.googleId, "hong@gmail.com");
  EXPECT_EQ(loaded.loginId, "hong@gmail.com");
  EXPECT_EQ(loaded.googlePw, "비밀 pw");
  EXPECT_EQ(loaded.myAddress, "부산광역시 해운대구 우동");
  EXPECT_FALSE(loaded.alarmEmail);
  EXPECT_TRUE(loaded.autoExe);
  EXPECT_EQ(settings_.googleId, "hong@gmail.com");  // and the record in memory follows

  QFile autostart(platform::autostartFilePath());
  ASSERT_TRUE(autostart.open(QIODevice::ReadOnly));
  EXPECT_TRUE(autostart.fileName().startsWith(dir_.filePath("config")));
  EXPECT_TRUE(QString::fromUtf8(autostart.readAll()).contains(QCoreApplication::applicationFilePath()));
  autostart.close();

  // Cleared, the entry goes away.
  ui::TFrmEnv again(settings_);
  again.ChkAutoExe->setChecked(false);
  ASSERT_TRUE(confirm(again));
  EXPECT_FALSE(QFile::exists(platform::autostartFilePath()));
  EXPECT_EQ(base::IniFile(settings_.settingsFile).readString("Environment", "AutoExe"), "0");
}

TEST_F(SettingsWindow, InstalledLocatorGivesTheAddressItsPosition) {
  ui::TFrmEnv::setAddressLocator([](app::AppSettings& s) {
    s.longitude = 129.1603;
    s.latitude = 35.1631;
    s.mapX = "1";
    s.mapY = "2";
  });
  ui::TFrmEnv window(settings_);
  window.EdGoogle->setText(QStringLiteral("hong@gmail.com"));
  window.EdGooglePw->setText(QStringLiteral("pw"));
  window.EdAddress->setText(QStringLiteral("부산광역시 해운대구 우동"));
  ASSERT_TRUE(confirm(window));
  ui::TFrmEnv::setAddressLocator(nullptr);
  EXPECT_EQ(base::decodeSecret(base::IniFile(settings_.settingsFile).readString("Environment", "MyAddress")),
            "부산광역시 해운대구 우동|129.1603|35.1631|1|2");
}

TEST_F(SettingsWindow, EmptyAccountIsRefusedAndNothingIsWritten) {
  struct Case {
    const char* id;
    const char* password;
  } cases[] = {{"", "pw"}, {"hong", ""}, {"   ", "pw"}};
  for (const Case& c : cases) {
    ui::TFrmEnv window(settings_);
    window.EdGoogle->setText(QString::fromUtf8(c.id));
    window.EdGooglePw->setText(QString::fromUtf8(c.password));
    EXPECT_FALSE(confirm(window)) << c.id << "/" << c.password;
    window.close();
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(settings_.settingsFile)));
  EXPECT_FALSE(QFile::exists(platform::autostartFilePath()));
}

TEST_F(SettingsWindow, JikhalsiIsRemovedAsItIsTyped) {
  ui::TFrmEnv window(settings_);
  window.show();
  window.EdAddress->clear();
  uitest::typeText(window.EdAddress, QStringLiteral("대구직할시 중구"));
  EXPECT_EQ(window.EdAddress->text(), QStringLiteral("대구 중구"));
  // Typed in the middle: the cursor stays where the user was typing.
  window.EdAddress->setText(QStringLiteral("광주 동구"));
  window.EdAddress->setCursorPosition(2);
  uitest::typeText(window.EdAddress, QStringLiteral("직할시"));
  EXPECT_EQ(window.EdAddress->text(), QStringLiteral("광주 동구"));
  EXPECT_EQ(window.EdAddress->cursorPosition(), 2);
  uitest::typeText(window.EdAddress, QStringLiteral("시"));
  EXPECT_EQ(window.EdAddress->text(), QStringLiteral("광주시 동구"));

  EXPECT_EQ(ui::withoutJikhalsi(QStringLiteral("인천직할시 직할시 남구")), QStringLiteral("인천  남구"));
}

TEST_F(SettingsWindow, MapButtonShowsTheHintThenAsksForTheMap) {
  ui::TFrmEnv window(settings_);
  window.EdAddress->setText(QStringLiteral("서울 중구"));
  window.show();
  QString shown;
  uitest::whenModal<ui::TFrmHi>([&shown](ui::TFrmHi* notice) {
    shown = notice->lines().value(0);
    notice->BtnOk->click();
  });
  QString asked;
  QObject::connect(&window, &ui::TFrmEnv::mapRequested, [&asked](const QString& a) { asked = a; });
  window.BtnMap->click();
  EXPECT_EQ(shown, QStringLiteral("지도에서 주소를 클릭한후 '지도공유 -> 지도 퍼가기'를 선택하세요."));
  EXPECT_EQ(asked, QStringLiteral("서울 중구"));
}

}  // namespace
